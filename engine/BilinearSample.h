#pragma once

// The bilinear blend of one pixel, as magnify and rotation take it: where a mapped point
// falls between the source pixels, and the blend of the 2 x 2 cell around it in double
// precision, channel by channel, in SSE2 lanes where the build has them.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "engine/PixelWords.h"
#include "engine/Rounding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
#if defined(__SSE2__)

// Two horizontally neighbouring pixels as 32-bit channels (blue, green, red, reserved):
// the left one, and the right one minus the left one.
struct PixelPair {
    __m128i left;
    __m128i rise;
};

inline PixelPair loadPair(const std::uint8_t* left) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(left));
    const __m128i halves = _mm_unpacklo_epi8(bytes, zero);
    const __m128i l = _mm_unpacklo_epi16(halves, zero), r = _mm_unpackhi_epi16(halves, zero);
    return {l, _mm_sub_epi32(r, l)};
}

// The channels in lanes 2 and 3 moved to lanes 0 and 1.
inline PixelPair upperChannels(const PixelPair& pair) {
    return {_mm_srli_si128(pair.left, 8), _mm_srli_si128(pair.rise, 8)};
}

// The blend of the two channels in lanes 0 and 1 of the pairs, each lane computed
// exactly as the plain per-channel formula below.
inline __m128i blendTwoChannels(const PixelPair& lower, const PixelPair& upper, __m128d dx,
                                __m128d dy) {
    const __m128d low =
        _mm_add_pd(_mm_cvtepi32_pd(lower.left), _mm_mul_pd(_mm_cvtepi32_pd(lower.rise), dx));
    const __m128d up =
        _mm_add_pd(_mm_cvtepi32_pd(upper.left), _mm_mul_pd(_mm_cvtepi32_pd(upper.rise), dx));
    return _mm_cvtpd_epi32(_mm_add_pd(low, _mm_mul_pd(_mm_sub_pd(up, low), dy)));
}

#endif

inline std::uint32_t blendChannel(int s00, int s10, int s01, int s11, double dx, double dy) {
    const double lower = s00 + (s10 - s00) * dx;
    const double upper = s01 + (s11 - s01) * dx;
    return std::uint32_t(std::clamp(roundToInt32(lower + (upper - lower) * dy), 0, 255));
}

}  // namespace bilinear_internal

// The blend of the 2 x 2 cell whose lower left pixel is at `lowerLeft` and whose upper
// left pixel, one row up, is at `upperLeft`, with the point dx across and dy up from the
// lower left one. Blue, green and red are each clamped to 0..255; the reserved byte of
// the result means nothing (the SSE2 lanes blend it too) and is for the store to drop.
inline std::uint32_t bilinearBlend(const std::uint8_t* lowerLeft, const std::uint8_t* upperLeft,
                                   double dx, double dy) {
    using namespace bilinear_internal;
#if defined(__SSE2__)
    const PixelPair lower = loadPair(lowerLeft), upper = loadPair(upperLeft);
    const __m128d across = _mm_set1_pd(dx), up = _mm_set1_pd(dy);
    const __m128i blueGreen = blendTwoChannels(lower, upper, across, up);
    const __m128i redReserved =
        blendTwoChannels(upperChannels(lower), upperChannels(upper), across, up);
    // Both packs saturate, which is the clamp to 0..255.
    const __m128i channels = _mm_unpacklo_epi64(blueGreen, redReserved);
    const __m128i words = _mm_packs_epi32(channels, channels);
    return std::uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
#else
    const std::uint8_t* lowerRight = lowerLeft + kPixelBytes;
    const std::uint8_t* upperRight = upperLeft + kPixelBytes;
    std::uint32_t pixel = 0;
    for (int c = 0; c < 3; ++c) {
        pixel |= blendChannel(lowerLeft[c], lowerRight[c], upperLeft[c], upperRight[c], dx, dy)
                 << (8 * c);
    }
    return pixel;
#endif
}

}  // namespace quillon
