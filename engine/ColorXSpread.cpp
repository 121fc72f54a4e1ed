// Op codes 4 to 8: pixels of colour X spread it into their surroundings. The scans run
// rows upward and columns left to right, in place: a pixel that an earlier blend turned
// into colour X is a source by the time the scan reaches it, so glows and streaks that
// reach ahead of the scan (up and right) can grow beyond their radius.
#include <bit>

#include "engine/ColorXPasses.h"

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

void blendRun(std::uint8_t* pixel, std::int64_t count, const BlendWeight& weight) {
    for (; count > 0; --count, pixel += 4) blend(pixel, weight);
}

// The square ring at distance d (in the larger of the two directions) from (x, y).
void blendSquareRing(const Plane& plane, std::int64_t x, std::int64_t y, std::int64_t d,
                     const BlendWeight& weight) {
    if (d == 0) return blend(plane.at(x, y), weight);
    blendRun(plane.at(x - d, y - d), 2 * d + 1, weight);
    blendRun(plane.at(x - d, y + d), 2 * d + 1, weight);
    for (std::int64_t side = y - d + 1; side < y + d; ++side) {
        blend(plane.at(x - d, side), weight);
        blend(plane.at(x + d, side), weight);
    }
}

// Every pixel of the square is blended once and only with its own value, so the square
// may be visited ring by ring, each ring's weight formed once: the outermost ring keeps
// a of its own colour and each ring further in b less.
void glowAround(const Plane& plane, const ColourX& colour, std::int64_t x, std::int64_t y,
                std::int32_t radius, float a, float b) {
    for (std::int32_t d = 0; d <= radius; ++d) {
        const auto w = float(double(a) - double(b) * double(radius - d));
        blendSquareRing(plane, x, y, d, blendWeight(w, colour));
    }
}

// From the farthest pixel (distance R) to the nearest, the weight drops by b at every
// step, starting from a - b.
void streakFrom(std::uint8_t* source, std::ptrdiff_t step, std::int32_t radius, float a, float b,
                const ColourX& colour) {
    float w = a;
    for (std::int32_t k = radius; k >= 1; --k) {
        w = float(double(w) - double(b));
        blend(source + std::ptrdiff_t(k) * step, blendWeight(w, colour));
    }
}

// The sources a streak may start from: those whose R pixels in its direction all lie
// inside the picture.
struct StreakScan {
    std::int64_t firstX, lastX, firstY, lastY;
    std::ptrdiff_t step;  // bytes from one pixel of the streak to the next one out
};

StreakScan streakScan(const Plane& plane, std::int32_t opCode, std::int64_t radius) {
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

}  // namespace

void glowAroundColourX(const Plane& plane, const ColourX& colour, std::int32_t radius, float a,
                       float b) {
    if (!colour.matchable) return;
    const std::int64_t first = std::int64_t{radius} + 1;
    const std::int64_t lastX = std::int64_t{plane.width} - radius;
    const std::int64_t lastY = std::int64_t{plane.height} - radius;
    for (std::int64_t y = first; y <= lastY; ++y) {
        const std::uint8_t* row = plane.row(y);
        for (std::int64_t x = nextColourX(row, first, lastX, colour.pixelBits); x <= lastX;
             x = nextColourX(row, x + 1, lastX, colour.pixelBits)) {
            glowAround(plane, colour, x, y, radius, a, b);
        }
    }
}

void streakFromColourX(const Plane& plane, const ColourX& colour, std::int32_t opCode,
                       std::int32_t radius, float a, float b) {
    if (!colour.matchable) return;
    const StreakScan scan = streakScan(plane, opCode, radius);
    for (std::int64_t y = scan.firstY; y <= scan.lastY; ++y) {
        std::uint8_t* row = plane.row(y);
        for (std::int64_t x = nextColourX(row, scan.firstX, scan.lastX, colour.pixelBits);
             x <= scan.lastX; x = nextColourX(row, x + 1, scan.lastX, colour.pixelBits)) {
            streakFrom(row + columnOffset(x), scan.step, radius, a, b, colour);
        }
    }
}

}  // namespace quillon::colorx
