// The twist: every pixel takes the undo-plane pixel found by turning it about the centre
// (W div 2, H div 2) by an angle that grows linearly with its distance from the centre.
// Source points on or beyond the outer ring of the picture give colour X.
//
// Precision: every floating-point step is carried in double precision - the distance,
// the angle, the four products dx·co, dy·si, dx·si, dy·co and the sums. Only the values
// held in single precision are rounded to it, where they are stored: the largest angle,
// and the cosine and sine of each angle. They are widened again, exactly, to enter the
// products; a single (24 bits) times an offset below 2^29 is exact in double, so past
// the cosine and sine the only roundings are those of the additions.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/PixelEffectsAvx2.h"
#include "engine/PixelEffectsKernel.h"
#include "engine/PixelWords.h"
#include "engine/Rounding.h"
#include "engine/SimdDispatch.h"

namespace quillon::pixeleffects {
namespace {

float largestAngle(std::int32_t amount) {
    constexpr double pi = std::numbers::pi;
    switch (amount) {
        case 1:
            return float(pi / 2);
        case 2:
            return float(pi);
        case 4:
            return float(3 * pi / 2);
        default:
            return float(2 * pi);
    }
}

struct Turn {
    double co, si;  // single-precision values, widened
};

struct Twist {
    PlaneView planes;
    std::int32_t cx, cy;
    double m;         // the longer side
    double maxAngle;  // single-precision value, widened
    std::uint32_t colourX;

    // Depends on the distance alone, so the four points (cx ± dx, cy ± dy) share it.
    Turn turnAt(std::int32_t dx, std::int32_t dy) const {
        const double r = std::sqrt(double(dx) * double(dx) + double(dy) * double(dy));
        const double theta = (r / m) * maxAngle;
        return {float(std::cos(theta)), float(std::sin(theta))};
    }

    void pixel(std::int32_t x, std::int32_t y, Turn turn) const {
        const double dx = x - cx, dy = y - cy;
        std::uint8_t* target = planes.target + planes.rowOffset(y) + columnOffset(x);
        const std::int32_t sx = roundToInt32(dx * turn.co - dy * turn.si + cx);
        const std::int32_t sy = roundToInt32(dx * turn.si + dy * turn.co + cy);
        // A value that does not convert gives the most negative integer: outside too.
        if (sx <= 1 || sx >= planes.width || sy <= 1 || sy >= planes.height) {
            storeKeepingReserved(target, colourX);
            return;
        }
        const std::uint8_t* source = planes.source + planes.rowOffset(sy) + columnOffset(sx);
        storeKeepingReserved(target, loadPixel(source));
    }
};

// The one or two lines at distance d from the centre line c that lie in 1..extent.
struct LinePair {
    std::int32_t line[2] = {};
    int count = 0;

    LinePair(std::int32_t c, std::int32_t d, std::int32_t extent) {
        if (c + d >= 1 && c + d <= extent) line[count++] = c + d;
        if (d > 0 && c - d >= 1) line[count++] = c - d;
    }
};

// How far from the centre line c the lines 1..extent reach.
std::int32_t reach(std::int32_t c, std::int32_t extent) {
    return std::max(extent - c, c - 1);
}

// The pixels at distances dx and dy (each in first..last) from the centre lines, with
// their mirror images.
struct Block {
    std::int32_t firstDx, lastDx, firstDy, lastDy;
};

// The one or two pixels of each row at column distance dx from the centre.
void twistColumn(const Twist& twist, const LinePair& rows, std::int32_t dy, std::int32_t dx) {
    const LinePair columns(twist.cx, dx, twist.planes.width);
    if (columns.count == 0) return;
    const Turn turn = twist.turnAt(dx, dy);
    for (int j = 0; j < rows.count; ++j) {
        for (int i = 0; i < columns.count; ++i) twist.pixel(columns.line[i], rows.line[j], turn);
    }
}

// The AVX2 path indexes the plane with 32-bit lanes.
bool useWideColumns(const PlaneView& planes) {
    return simd::useAvx2() && std::int64_t{planes.width} * planes.height < (std::int64_t{1} << 31);
}

avx2::TwistRun wideRun(const Twist& twist, const LinePair& rows, std::int32_t dy) {
    return {twist.planes.source,
            twist.planes.target,
            twist.planes.width,
            twist.planes.height,
            twist.cx,
            twist.cy,
            twist.m,
            twist.maxAngle,
            twist.colourX,
            dy,
            {rows.line[0], rows.line[1]},
            rows.count};
}

// Column distances go four at a time on the AVX2 path wherever the four and their mirror
// images lie inside the picture, one at a time elsewhere.
void twistBlock(const Twist& twist, const Block& block, bool wide) {
    for (std::int32_t dy = block.firstDy; dy <= block.lastDy; ++dy) {
        const LinePair rows(twist.cy, dy, twist.planes.height);
        if (rows.count == 0) continue;
        const avx2::TwistRun run = wideRun(twist, rows, dy);
        for (std::int32_t dx = block.firstDx; dx <= block.lastDx;) {
            const std::int32_t next =
                wide && dx >= 1 ? avx2::twistColumns(run, dx, block.lastDx) : dx;
            if (next > dx) {
                dx = next;
                continue;
            }
            twistColumn(twist, rows, dy, dx++);
        }
    }
}

}  // namespace

void twist(const PlaneView& planes, std::int32_t amount, std::uint32_t colour) {
    const Twist twist{planes,
                      planes.width / 2,
                      planes.height / 2,
                      double(std::max(planes.width, planes.height)),
                      double(largestAngle(amount)),
                      colourAsPixel(colour)};
    // Rows and columns are taken in mirrored pairs about the centre, so each cosine and
    // sine serves up to four pixels; every pixel is still written exactly once. The
    // pairs go in small square blocks: the source points of a block lie close together
    // too, so their rows stay in the cache while the block is done.
    constexpr std::int32_t kBlock = 32;
    const bool wide = useWideColumns(planes);
    const std::int32_t reachX = reach(twist.cx, planes.width);
    const std::int32_t reachY = reach(twist.cy, planes.height);
    for (std::int32_t firstDy = 0, lastDy = 0; firstDy <= reachY; firstDy = lastDy + 1) {
        lastDy = firstDy + std::min(kBlock - 1, reachY - firstDy);
        for (std::int32_t firstDx = 0, lastDx = 0; firstDx <= reachX; firstDx = lastDx + 1) {
            lastDx = firstDx + std::min(kBlock - 1, reachX - firstDx);
            twistBlock(twist, Block{firstDx, lastDx, firstDy, lastDy}, wide);
        }
    }
}

}  // namespace quillon::pixeleffects
