// Op codes 4 to 8: pixels of colour X spread it into their surroundings. The scans run
// rows upward and columns left to right, in place: a pixel that an earlier blend turned
// into colour X is a source by the time the scan reaches it, so glows and streaks that
// reach ahead of the scan (up and right) can grow beyond their radius.
#include <bit>
#include <vector>

#include "engine/ColorXAvx2.h"
#include "engine/ColorXPasses.h"
#include "engine/SimdDispatch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon::colorx {
namespace {

// The first column from `x` to `last` of the row whose pixel has colour X, or last + 1.
// Each pixel costs one compare of its low three bytes, four at a time where the build
// has SSE2. Pixels are read only when the search reaches them, so the caller may change
// the rest of the row between two searches.
std::int64_t nextColourX(const std::uint8_t* row, std::int64_t x, std::int64_t last,
                         std::uint32_t pixelBits) {
    if (simd::useAvx2()) x = avx2::findColourX(row, x, last, pixelBits);
#if defined(__SSE2__)
    const __m128i colourBytes = _mm_set1_epi32(int(kColourBytes));
    const __m128i wanted = _mm_set1_epi32(int(pixelBits));
    for (; last - x >= 3; x += 4) {
        const auto* four = reinterpret_cast<const __m128i*>(row + columnOffset(x));
        const __m128i equal =
            _mm_cmpeq_epi32(_mm_and_si128(_mm_loadu_si128(four), colourBytes), wanted);
        const int hits = _mm_movemask_ps(_mm_castsi128_ps(equal));
        if (hits != 0) return x + std::countr_zero(unsigned(hits));
    }
#endif
    for (; x <= last; ++x) {
        if ((loadPixel(row + columnOffset(x)) & kColourBytes) == pixelBits) return x;
    }
    return last + 1;
}

// `Weight` is a BlendWeight or the BlendTable made of one; both blend alike.
template <class Weight>
void blendRun(std::uint8_t* pixel, std::int64_t count, const Weight& weight) {
    for (; count > 0; --count, pixel += 4) blend(pixel, weight);
}

// The square ring at distance d (in the larger of the two directions) from (x, y).
template <class Weight>
void blendSquareRing(const Plane& plane, std::int64_t x, std::int64_t y, std::int64_t d,
                     const Weight& weight) {
    if (d == 0) return blend(plane.at(x, y), weight);
    blendRun(plane.at(x - d, y - d), 2 * d + 1, weight);
    blendRun(plane.at(x - d, y + d), 2 * d + 1, weight);
    for (std::int64_t side = y - d + 1; side < y + d; ++side) {
        blend(plane.at(x - d, side), weight);
        blend(plane.at(x + d, side), weight);
    }
}

// The weight of ring d of a glow: the outermost ring (d = R) keeps a of its own colour and
// each ring further in b less.
float glowWeight(std::int32_t radius, std::int32_t d, float a, float b) {
    return float(double(a) - double(b) * double(radius - d));
}

// The weights are the same around every source, so for the radii a picture can hold many
// sources of, each weight is made into a table once per call, when the first source turns
// up (a picture without colour X pays nothing). Larger radii form each weight where it is
// used, as a table for every one of them would not fit in memory.
constexpr std::int32_t kLargestTabledRadius = 4096;
using BlendTables = std::vector<BlendTable>;

BlendTables glowTables(const ColourX& colour, std::int32_t radius, float a, float b) {
    BlendTables rings(std::size_t(radius) + 1);
    for (std::int32_t d = 0; d <= radius; ++d)
        rings[std::size_t(d)] = blendTable(blendWeight(glowWeight(radius, d, a, b), colour));
    return rings;
}

// Pixel k of a streak (from the farthest, k = R, to the nearest): the weight drops by b at
// every step, starting from a - b.
BlendTables streakTables(const ColourX& colour, std::int32_t radius, float a, float b) {
    BlendTables steps(std::size_t(radius) + 1);
    float w = a;
    for (std::int32_t k = radius; k >= 1; --k) {
        w = float(double(w) - double(b));
        steps[std::size_t(k)] = blendTable(blendWeight(w, colour));
    }
    return steps;
}

// Every pixel of the square is blended once and only with its own value, so the square
// may be visited ring by ring; `weightOf(d)` gives the weight of ring d.
template <class WeightOf>
void glowAround(const Plane& plane, std::int64_t x, std::int64_t y, std::int32_t radius,
                WeightOf weightOf) {
    for (std::int32_t d = 0; d <= radius; ++d) blendSquareRing(plane, x, y, d, weightOf(d));
}

// `weightOf(k)` gives the weight of pixel k; it is asked for k = R down to 1, in turn.
template <class WeightOf>
void streakFrom(std::uint8_t* source, std::ptrdiff_t step, std::int32_t radius, WeightOf weightOf) {
    for (std::int32_t k = radius; k >= 1; --k)
        blend(source + std::ptrdiff_t(k) * step, weightOf(k));
}

// The sources a streak may start from: those whose R pixels in its direction all lie
// inside the picture. A glow takes its sources from such an area too, with no step.
struct SourceArea {
    std::int64_t firstX, lastX, firstY, lastY;
    std::ptrdiff_t step;  // bytes from one pixel of the streak to the next one out
};

SourceArea streakArea(const Plane& plane, std::int32_t opCode, std::int64_t radius) {
    const std::int64_t w = plane.width, h = plane.height;
    switch (opCode) {
        case 5:
            return {1, w, 1, h - radius, plane.rowBytes()};
        case 6:
            return {1, w, radius + 1, h, -plane.rowBytes()};
        case 7:
            return {radius + 1, w, 1, h, -4};
        default:
            return {1, w - radius, 1, h, 4};
    }
}

// Calls visit(x, y) for every pixel of colour X in the given columns and rows, rows upward
// and columns left to right; a visit may change pixels the scan has yet to reach.
template <class Visit>
void forEachSource(const Plane& plane, const ColourX& colour, const SourceArea& area, Visit visit) {
    for (std::int64_t y = area.firstY; y <= area.lastY; ++y) {
        const std::uint8_t* row = plane.row(y);
        for (std::int64_t x = nextColourX(row, area.firstX, area.lastX, colour.pixelBits);
             x <= area.lastX; x = nextColourX(row, x + 1, area.lastX, colour.pixelBits))
            visit(x, y);
    }
}

// The glow around each source, its ring weights as tables made at the first source.
class Glow {
public:
    Glow(const ColourX& colour, std::int32_t radius, float a, float b)
        : colour_(colour), radius_(radius), a_(a), b_(b) {}

    void around(const Plane& plane, std::int64_t x, std::int64_t y) {
        if (radius_ > kLargestTabledRadius) {
            return glowAround(plane, x, y, radius_, [this](std::int32_t d) {
                return blendWeight(glowWeight(radius_, d, a_, b_), colour_);
            });
        }
        if (rings_.empty()) rings_ = glowTables(colour_, radius_, a_, b_);
        glowAround(plane, x, y, radius_,
                   [this](std::int32_t d) -> const BlendTable& { return rings_[std::size_t(d)]; });
    }

private:
    const ColourX& colour_;
    std::int32_t radius_;
    float a_, b_;
    BlendTables rings_;
};

// The streak from each source, its step weights as tables made at the first source.
class Streak {
public:
    Streak(const ColourX& colour, std::int32_t radius, float a, float b, std::ptrdiff_t step)
        : colour_(colour), radius_(radius), a_(a), b_(b), step_(step) {}

    void from(std::uint8_t* source) {
        if (radius_ > kLargestTabledRadius) {
            return streakFrom(source, step_, radius_, [this, w = a_](std::int32_t) mutable {
                w = float(double(w) - double(b_));
                return blendWeight(w, colour_);
            });
        }
        if (steps_.empty()) steps_ = streakTables(colour_, radius_, a_, b_);
        streakFrom(source, step_, radius_,
                   [this](std::int32_t k) -> const BlendTable& { return steps_[std::size_t(k)]; });
    }

private:
    const ColourX& colour_;
    std::int32_t radius_;
    float a_, b_;
    std::ptrdiff_t step_;
    BlendTables steps_;
};

}  // namespace

void glowAroundColourX(const Plane& plane, const ColourX& colour, std::int32_t radius, float a,
                       float b) {
    if (!colour.matchable) return;
    const std::int64_t first = std::int64_t{radius} + 1;
    const SourceArea area{first, std::int64_t{plane.width} - radius, first,
                          std::int64_t{plane.height} - radius, 0};
    Glow glow(colour, radius, a, b);
    forEachSource(plane, colour, area,
                  [&](std::int64_t x, std::int64_t y) { glow.around(plane, x, y); });
}

void streakFromColourX(const Plane& plane, const ColourX& colour, std::int32_t opCode,
                       std::int32_t radius, float a, float b) {
    if (!colour.matchable) return;
    const SourceArea scan = streakArea(plane, opCode, radius);
    Streak streak(colour, radius, a, b, scan.step);
    forEachSource(plane, colour, scan, [&](std::int64_t x, std::int64_t y) {
        streak.from(plane.row(y) + columnOffset(x));
    });
}

}  // namespace quillon::colorx
