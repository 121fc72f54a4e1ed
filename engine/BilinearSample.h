#pragma once

// The bilinear blend of one pixel, as magnify and rotation take it: where a mapped point
// falls between the source pixels, and the blend of the 2 x 2 cell around it in double
// precision, channel by channel. The vector rows (AffineResampleVectors-inl.h) give the
// same bytes.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "engine/PixelWords.h"
#include "engine/Rounding.h"

namespace quillon {

// Where a mapped coordinate falls along one axis: the lower pixel of the pair it lies
// between, and how far past that pixel it lies.
struct BlendCell {
    std::int32_t lower;
    double fraction;  // a single-precision value, widened
};

// The coordinate is rounded to single precision first. The lower pixel is its floor,
// except that an exact integer n goes to whichever of n - 1 and n is even, because
// f - 0.5 is a tie there. Nothing when the pair would reach past either end of an axis of
// `extent` pixels; a NaN or far-away point converts to INT32_MIN and so lands outside.
inline std::optional<BlendCell> blendCellAlong(double mapped, std::uint32_t extent) {
    const float f = float(mapped);
    const std::int32_t lower = roundToInt32(double(f) - 0.5);
    if (lower < 1 || std::uint32_t(lower) >= extent) return std::nullopt;
    return BlendCell{lower, double(float(double(f) - double(lower)))};
}

namespace bilinear_internal {

inline std::uint32_t blendChannel(int s00, int s10, int s01, int s11, double dx, double dy) {
    const double lower = s00 + (s10 - s00) * dx;
    const double upper = s01 + (s11 - s01) * dx;
    return std::uint32_t(std::clamp(roundToInt32(lower + (upper - lower) * dy), 0, 255));
}

}  // namespace bilinear_internal

// The blend of the 2 x 2 cell whose lower left pixel is at `lowerLeft` and whose upper
// left pixel, one row up, is at `upperLeft`, with the point dx across and dy up from the
// lower left one. Blue, green and red are each clamped to 0..255; the reserved byte of
// the result is 0.
inline std::uint32_t bilinearBlend(const std::uint8_t* lowerLeft, const std::uint8_t* upperLeft,
                                   double dx, double dy) {
    using namespace bilinear_internal;
    const std::uint8_t* lowerRight = lowerLeft + kPixelBytes;
    const std::uint8_t* upperRight = upperLeft + kPixelBytes;
    std::uint32_t pixel = 0;
    for (int c = 0; c < 3; ++c) {
        pixel |= blendChannel(lowerLeft[c], lowerRight[c], upperLeft[c], upperRight[c], dx, dy)
                 << (8 * c);
    }
    return pixel;
}

}  // namespace quillon
