// The magnify kernel's rows eight pixels at a time in AVX2 registers: the mapped columns of
// four pixels per register of doubles, computed as the baseline computes each, so every
// point, every rounding and so every byte is the baseline's. Compiled with -mavx2 and
// entered only on processors that have AVX2 (SimdDispatch.h).

#include "engine/MagnifyAvx2.h"

#if defined(__AVX2__)
#include "engine/BilinearSampleAvx2.h"

namespace quillon::magnify::avx2 {
namespace {

using namespace avx2sampling;

// (x − centre)·step + centre for columns x .. x + 3.
__m256d mapped(__m256d columns, const MagnifiedRow& row) {
    const __m256d centre = _mm256_set1_pd(row.centre);
    return _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(columns, centre), _mm256_set1_pd(row.step)),
                         centre);
}

__m256i nearestEight(const MagnifiedRow& row, __m256d columns) {
    const __m256d next = _mm256_add_pd(columns, _mm256_set1_pd(4.0));
    const __m256i sx = nearestOfEight(mapped(columns, row), mapped(next, row));
    return _mm256_mask_i32gather_epi32(
        _mm256_set1_epi32(int(row.background)), reinterpret_cast<const int*>(row.source),
        _mm256_sub_epi32(sx, _mm256_set1_epi32(1)), within(sx, row.width), 4);
}

__m256i blendedEight(const MagnifiedRow& row, __m256d columns) {
    const __m256d next = _mm256_add_pd(columns, _mm256_set1_pd(4.0));
    const Cells across = cellsOfEight(mapped(columns, row), mapped(next, row), row.width);
    return blendEight(row.source, row.width, _mm256_sub_epi32(across.lower, _mm256_set1_epi32(1)),
                      across.inside, across.fraction23, _mm256_set1_ps(row.rowFraction),
                      _mm256_set1_epi32(int(row.background)));
}

template <__m256i (*Eight)(const MagnifiedRow&, __m256d)>
std::size_t eachEight(const MagnifiedRow& row) {
    __m256d columns = _mm256_setr_pd(1.0, 2.0, 3.0, 4.0);
    std::size_t x = 0;
    for (; x + 8 <= std::size_t(row.width); x += 8) {
        storeColour(row.destination + 4 * x, Eight(row, columns));
        columns = _mm256_add_pd(columns, _mm256_set1_pd(8.0));
    }
    return x;
}

using Vector = __m256i;

Vector loadWords(const std::int32_t* at) {
    return _mm256_loadu_si256(reinterpret_cast<const Vector*>(at));
}

void storeWords(std::int32_t* at, Vector words) {
    _mm256_storeu_si256(reinterpret_cast<Vector*>(at), words);
}

template <int C>
void storeAlong(std::int32_t* group, Vector s0, Vector s1, Vector dx23) {
    storeWords(group + 8 * C, alongRow(channel<C>(s0), channel<C>(s1), dx23));
}

// One channel of a group, in the lane order 0, 1, 4, 5, 2, 3, 6, 7 (see blendChannel).
template <int C>
Vector acrossChannel(const std::int32_t* lower, const std::int32_t* upper, __m256d dy) {
    const Vector l = loadWords(lower + 8 * C);
    const Vector rise = _mm256_sub_epi32(loadWords(upper + 8 * C), l);
    const __m256d low = acrossRows(_mm256_castsi256_si128(l), _mm256_castsi256_si128(rise), dy);
    const __m256d high =
        acrossRows(_mm256_extracti128_si256(l, 1), _mm256_extracti128_si256(rise, 1), dy);
    const __m256 words = _mm256_shuffle_ps(_mm256_castpd_ps(low), _mm256_castpd_ps(high), 0x88);
    return _mm256_slli_epi32(_mm256_castps_si256(words), 8 * C);
}

}  // namespace

void columnCells(double centre, double step, std::int32_t width, std::size_t columns,
                 std::int32_t* cells) {
    const MagnifiedRow map{nullptr, nullptr, width, centre, step, 0.0f, 0};
    __m256d x = _mm256_setr_pd(1.0, 2.0, 3.0, 4.0);
    for (std::size_t group = 0; group < columns / 8; ++group, cells += kGroupWords) {
        const __m256d next = _mm256_add_pd(x, _mm256_set1_pd(4.0));
        const Cells c = cellsOfEight(mapped(x, map), mapped(next, map), width);
        const Vector index = _mm256_sub_epi32(c.lower, _mm256_set1_epi32(1));
        storeWords(cells, _mm256_and_si256(index, c.inside));
        storeWords(cells + 8, c.fraction23);
        storeWords(cells + 16, c.inside);
        x = _mm256_add_pd(next, _mm256_set1_pd(4.0));
    }
}

void blendAlongRow(const std::uint8_t* sourceRow, const std::int32_t* cells, std::size_t columns,
                   std::int32_t* blends) {
    const auto* words = reinterpret_cast<const int*>(sourceRow);
    const Vector zero = _mm256_setzero_si256(), right = _mm256_set1_epi32(1);
    for (std::size_t group = 0; group < columns / 8; ++group) {
        const std::int32_t* c = cells + group * kGroupWords;
        std::int32_t* b = blends + group * kGroupWords;
        const Vector index = loadWords(c), dx23 = loadWords(c + 8), inside = loadWords(c + 16);
        const Vector s0 = _mm256_mask_i32gather_epi32(zero, words, index, inside, 4);
        const Vector s1 =
            _mm256_mask_i32gather_epi32(zero, words, _mm256_add_epi32(index, right), inside, 4);
        storeAlong<0>(b, s0, s1, dx23);
        storeAlong<1>(b, s0, s1, dx23);
        storeAlong<2>(b, s0, s1, dx23);
    }
}

void blendAcrossRows(const std::int32_t* lower, const std::int32_t* upper,
                     const std::int32_t* cells, std::size_t columns, float rowFraction,
                     std::uint32_t background, std::uint8_t* destination) {
    const __m256d dy = _mm256_set1_pd(double(rowFraction));
    const Vector outside = _mm256_set1_epi32(int(background));
    for (std::size_t group = 0; group < columns / 8; ++group) {
        const std::size_t at = group * kGroupWords;
        const Vector shuffled =
            _mm256_or_si256(_mm256_or_si256(acrossChannel<0>(lower + at, upper + at, dy),
                                            acrossChannel<1>(lower + at, upper + at, dy)),
                            acrossChannel<2>(lower + at, upper + at, dy));
        const Vector colour = _mm256_permute4x64_epi64(shuffled, 0xD8);  // back in order
        const Vector inside = loadWords(cells + at + 16);
        storeColour(destination + 32 * group, _mm256_blendv_epi8(outside, colour, inside));
    }
}

std::size_t nearestRow(const MagnifiedRow& row) {
    return eachEight<nearestEight>(row);
}

std::size_t blendedRow(const MagnifiedRow& row) {
    return eachEight<blendedEight>(row);
}

}  // namespace quillon::magnify::avx2

#else

// Builds without AVX2 code never take the AVX2 path; these leave every pixel to the caller.
namespace quillon::magnify::avx2 {
std::size_t nearestRow(const MagnifiedRow&) {
    return 0;
}
std::size_t blendedRow(const MagnifiedRow&) {
    return 0;
}
void columnCells(double, double, std::int32_t, std::size_t, std::int32_t*) {}
void blendAlongRow(const std::uint8_t*, const std::int32_t*, std::size_t, std::int32_t*) {}
void blendAcrossRows(const std::int32_t*, const std::int32_t*, const std::int32_t*, std::size_t,
                     float, std::uint32_t, std::uint8_t*) {}
}  // namespace quillon::magnify::avx2

#endif
