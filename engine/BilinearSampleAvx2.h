#pragma once

// The sampling steps of magnify and rotation (BilinearSample.h, and the rounding to the
// nearest pixel) for eight destination pixels at once, in AVX2 registers. Only files
// compiled with -mavx2 may include this, so its inline functions never stand in for
// baseline code. Every result is the baseline's, to the bit; the comments say why.

#if !defined(__AVX2__)
#error "BilinearSampleAvx2.h is for files compiled with -mavx2"
#endif

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

// Everything here has internal linkage: each AVX2 file gets its own copy, inlined.
namespace quillon::avx2sampling {
namespace {

// Blue, green and red of `fresh` over the reserved bytes of the eight pixels at `target`.
inline void storeColour(std::uint8_t* target, __m256i fresh) {
    auto* at = reinterpret_cast<__m256i*>(target);
    const __m256i colourBytes = _mm256_set1_epi32(0x00FFFFFF);
    _mm256_storeu_si256(at, _mm256_blendv_epi8(_mm256_loadu_si256(at), fresh, colourBytes));
}

inline __m256i joined(__m128i low, __m128i high) {
    return _mm256_set_m128i(high, low);
}

// Lanes of ones where 1 <= v <= last.
inline __m256i within(__m256i v, std::int32_t last) {
    return _mm256_and_si256(_mm256_cmpgt_epi32(v, _mm256_setzero_si256()),
                            _mm256_cmpgt_epi32(_mm256_set1_epi32(last + 1), v));
}

// Eight mapped coordinates rounded to the nearest integer, halves to even, as
// roundToInt32 does; a NaN or far-away one gives INT32_MIN, as there.
inline __m256i nearestOfEight(__m256d low, __m256d high) {
    return joined(_mm256_cvtpd_epi32(low), _mm256_cvtpd_epi32(high));
}

// Where eight mapped coordinates fall along an axis of `extent` pixels (below 2^23), as
// blendCellAlong finds it for one. The coordinate f is rounded to single precision; the
// lower pixel of its pair is f − 0.5 rounded, halves to even; the fraction is f minus it.
// Below 2^23 the single-precision f − 0.5 and f − lower are exact, so the steps may be
// taken in single precision; where f is larger the pair lies outside either way. The
// fraction is a multiple of 2^-23 in [0, 1], kept as that multiple too.
struct Cells {
    __m256i lower;
    __m256i inside;      // ones where 1 <= lower < extent
    __m256 fraction;     // single precision
    __m256i fraction23;  // the fraction times 2^23, a whole number
};

[[gnu::always_inline]] inline Cells cellsOfEight(__m256d low, __m256d high, std::int32_t extent) {
    const __m256 f = _mm256_set_m128(_mm256_cvtpd_ps(high), _mm256_cvtpd_ps(low));
    const __m256i lower = _mm256_cvtps_epi32(_mm256_sub_ps(f, _mm256_set1_ps(0.5f)));
    const __m256 fraction = _mm256_sub_ps(f, _mm256_cvtepi32_ps(lower));
    const __m256i fraction23 = _mm256_cvtps_epi32(_mm256_mul_ps(fraction, _mm256_set1_ps(0x1p23f)));
    return {lower, within(lower, extent - 1), fraction, fraction23};
}

// Channel c (0 blue, 1 green, 2 red) of eight pixel words, one byte shuffle.
template <int C>
__m256i channel(__m256i words) {
    const __m256i pick =
        _mm256_setr_epi8(C, -1, -1, -1, 4 + C, -1, -1, -1, 8 + C, -1, -1, -1, 12 + C, -1, -1, -1, C,
                         -1, -1, -1, 4 + C, -1, -1, -1, 8 + C, -1, -1, -1, 12 + C, -1, -1, -1);
    return _mm256_shuffle_epi8(words, pick);
}

// The blend along a row, s0 + (s1 − s0)·dx, times 2^23. The baseline takes it in double
// and it is exact there: dx is a multiple of 2^-23 in [0, 1], so the product has at most
// 32 significant bits and the sum, which lies between s0 and s1, at most 31. So it is the
// same whole number in 32-bit lanes.
inline __m256i alongRow(__m256i s0, __m256i s1, __m256i dx23) {
    return _mm256_add_epi32(_mm256_slli_epi32(s0, 23),
                            _mm256_mullo_epi32(_mm256_sub_epi32(s1, s0), dx23));
}

// lower + (upper − lower)·dy for four lanes, rounded to a whole number k, halves to even,
// which is left in the low 32 bits of each lane. lower, upper and their difference are
// exact in the baseline's doubles (see alongRow), so only the product and the sum round;
// scaled by 2^23 they round the same way. Adding 1.5·2^75 then rounds the scaled sum to a
// multiple of 2^23 (its last place there), halves to the even multiple, and leaves k as
// the low bits of the result: the baseline's conversion, without taking the scale off.
inline __m256d acrossRows(__m128i lower23, __m128i rise23, __m256d dy) {
    const __m256d sum =
        _mm256_add_pd(_mm256_cvtepi32_pd(lower23), _mm256_mul_pd(_mm256_cvtepi32_pd(rise23), dy));
    return _mm256_add_pd(sum, _mm256_set1_pd(0x1.8p75));
}

// The four pixels of eight cells, read where the cell is inside.
struct Corners {
    __m256i s00, s10, s01, s11;
};

// Each left pixel comes with its right neighbour as one 64-bit load; taken in the order
// 0, 1, 4, 5 and 2, 3, 6, 7, splitting the pairs into left and right pixels puts the cells
// back in order. Plain loads beat the gather instructions here.
[[gnu::always_inline]] inline long long pairAt(const std::uint8_t* plane, std::int32_t index) {
    long long bits;
    __builtin_memcpy(&bits, plane + 4 * std::size_t(index), 8);
    return bits;
}

[[gnu::always_inline]] inline void loadPairs(const std::uint8_t* plane, const std::int32_t* index,
                                             std::int32_t offset, __m256i& left, __m256i& right) {
    const std::uint8_t* at = plane + 4 * std::ptrdiff_t(offset);
    const __m256 a = _mm256_castsi256_ps(_mm256_set_epi64x(
        pairAt(at, index[5]), pairAt(at, index[4]), pairAt(at, index[1]), pairAt(at, index[0])));
    const __m256 b = _mm256_castsi256_ps(_mm256_set_epi64x(
        pairAt(at, index[7]), pairAt(at, index[6]), pairAt(at, index[3]), pairAt(at, index[2])));
    left = _mm256_castps_si256(_mm256_shuffle_ps(a, b, 0x88));
    right = _mm256_castps_si256(_mm256_shuffle_ps(a, b, 0xDD));
}

// Cells outside are read at pixel 0 instead, whose cell lies inside whenever any cell does
// (the plane is then at least 2 x 2); with no cell inside nothing is read.
[[gnu::always_inline]] inline Corners gatherCorners(const std::uint8_t* plane, std::int32_t width,
                                                    __m256i lowerLeft, __m256i inside) {
    Corners s{};
    if (_mm256_testz_si256(inside, inside)) return s;
    alignas(32) std::int32_t index[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(index), _mm256_and_si256(lowerLeft, inside));
    loadPairs(plane, index, 0, s.s00, s.s10);
    loadPairs(plane, index, width, s.s01, s.s11);
    return s;
}

// One channel of eight blends, in the lane order 0, 1, 4, 5, 2, 3, 6, 7 that gathering
// the low halves of two registers of doubles gives.
template <int C>
__m256i blendChannel(const Corners& s, __m256i dx23, __m256d dyLow, __m256d dyHigh) {
    const __m256i lower = alongRow(channel<C>(s.s00), channel<C>(s.s10), dx23);
    const __m256i upper = alongRow(channel<C>(s.s01), channel<C>(s.s11), dx23);
    const __m256i rise = _mm256_sub_epi32(upper, lower);
    const __m256d low =
        acrossRows(_mm256_castsi256_si128(lower), _mm256_castsi256_si128(rise), dyLow);
    const __m256d high =
        acrossRows(_mm256_extracti128_si256(lower, 1), _mm256_extracti128_si256(rise, 1), dyHigh);
    const __m256 lowWords = _mm256_shuffle_ps(_mm256_castpd_ps(low), _mm256_castpd_ps(high), 0x88);
    // A blend lies between its corners, so it is a byte already.
    return _mm256_slli_epi32(_mm256_castps_si256(lowWords), 8 * C);
}

// Eight bilinear blends of the cells whose lower left pixels are `lowerLeft` (pixel
// indices into the plane), the background where `inside` is clear.
[[gnu::always_inline]] inline __m256i blendEight(const std::uint8_t* plane, std::int32_t width,
                                                 __m256i lowerLeft, __m256i inside, __m256i dx23,
                                                 __m256 dy, __m256i background) {
    const Corners s = gatherCorners(plane, width, lowerLeft, inside);
    const __m256d dyLow = _mm256_cvtps_pd(_mm256_castps256_ps128(dy));
    const __m256d dyHigh = _mm256_cvtps_pd(_mm256_extractf128_ps(dy, 1));
    const __m256i shuffled =
        _mm256_or_si256(_mm256_or_si256(blendChannel<0>(s, dx23, dyLow, dyHigh),
                                        blendChannel<1>(s, dx23, dyLow, dyHigh)),
                        blendChannel<2>(s, dx23, dyLow, dyHigh));
    const __m256i colour = _mm256_permute4x64_epi64(shuffled, 0xD8);  // back in order
    return _mm256_blendv_epi8(background, colour, inside);
}

}  // namespace
}  // namespace quillon::avx2sampling
