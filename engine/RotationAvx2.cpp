// The rotation kernel's rows eight pixels at a time in AVX2 registers: the mapped points
// of four pixels per register of doubles, computed in the order of the baseline's formula,
// so every point, every rounding and so every byte is the baseline's. Compiled with -mavx2
// and entered only on processors that have AVX2 (SimdDispatch.h).

#include "engine/RotationAvx2.h"

#if defined(__AVX2__)
#include "engine/BilinearSampleAvx2.h"

namespace quillon::rotation::avx2 {
namespace {

using namespace avx2sampling;

// The terms of the row: every one the baseline hoists out of its column loop.
struct RowTerms {
    __m256d cosine, sine, centreX, centreY, upCosine, upSine;
};

RowTerms rowTerms(const TurnedRow& row) {
    const double up = double(row.y) - row.centreY;
    return {_mm256_set1_pd(row.cosine),      _mm256_set1_pd(row.sine),
            _mm256_set1_pd(row.centreX),     _mm256_set1_pd(row.centreY),
            _mm256_set1_pd(up * row.cosine), _mm256_set1_pd(up * row.sine)};
}

// fx = across·cos − up·sin + cx and fy = up·cos + across·sin + cy for four columns.
struct Points {
    __m256d x, y;
};

Points mapColumns(const RowTerms& t, __m256d columns) {
    const __m256d across = _mm256_sub_pd(columns, t.centreX);
    const __m256d x = _mm256_sub_pd(_mm256_mul_pd(across, t.cosine), t.upSine);
    const __m256d y = _mm256_add_pd(t.upCosine, _mm256_mul_pd(across, t.sine));
    return {_mm256_add_pd(x, t.centreX), _mm256_add_pd(y, t.centreY)};
}

// The pixel index of column x, row y (both from 1).
__m256i pixelIndex(__m256i x, __m256i y, std::int32_t width) {
    const __m256i one = _mm256_set1_epi32(1);
    return _mm256_add_epi32(_mm256_mullo_epi32(_mm256_sub_epi32(y, one), _mm256_set1_epi32(width)),
                            _mm256_sub_epi32(x, one));
}

// The nearest source pixels of eight columns, the background where they fall outside.
__m256i nearestEight(const TurnedRow& row, const RowTerms& terms, __m256d columns) {
    const Points a = mapColumns(terms, columns);
    const Points b = mapColumns(terms, _mm256_add_pd(columns, _mm256_set1_pd(4.0)));
    const __m256i sx = nearestOfEight(a.x, b.x), sy = nearestOfEight(a.y, b.y);
    const __m256i inside = _mm256_and_si256(within(sx, row.width), within(sy, row.height));
    return _mm256_mask_i32gather_epi32(_mm256_set1_epi32(int(row.background)),
                                       reinterpret_cast<const int*>(row.source),
                                       pixelIndex(sx, sy, row.width), inside, 4);
}

__m256i blendedEight(const TurnedRow& row, const RowTerms& terms, __m256d columns) {
    const Points a = mapColumns(terms, columns);
    const Points b = mapColumns(terms, _mm256_add_pd(columns, _mm256_set1_pd(4.0)));
    const Cells across = cellsOfEight(a.x, b.x, row.width);
    const Cells up = cellsOfEight(a.y, b.y, row.height);
    return blendEight(row.source, row.width, pixelIndex(across.lower, up.lower, row.width),
                      _mm256_and_si256(across.inside, up.inside), across.fraction23, up.fraction,
                      _mm256_set1_epi32(int(row.background)));
}

// Eight pixels at a time from the first column of the stretch.
template <__m256i (*Eight)(const TurnedRow&, const RowTerms&, __m256d)>
std::size_t eachEight(const TurnedRow& row) {
    const RowTerms terms = rowTerms(row);
    __m256d columns =
        _mm256_add_pd(_mm256_set1_pd(double(row.firstColumn)), _mm256_setr_pd(0.0, 1.0, 2.0, 3.0));
    std::size_t x = 0;
    for (; x + 8 <= std::size_t(row.columns); x += 8) {
        storeColour(row.destination + 4 * x, Eight(row, terms, columns));
        columns = _mm256_add_pd(columns, _mm256_set1_pd(8.0));
    }
    return x;
}

}  // namespace

std::size_t nearestRow(const TurnedRow& row) {
    return eachEight<nearestEight>(row);
}

std::size_t blendedRow(const TurnedRow& row) {
    return eachEight<blendedEight>(row);
}

}  // namespace quillon::rotation::avx2

#else

// Builds without AVX2 code never take the AVX2 path; these leave every pixel to the caller.
namespace quillon::rotation::avx2 {
std::size_t nearestRow(const TurnedRow&) {
    return 0;
}
std::size_t blendedRow(const TurnedRow&) {
    return 0;
}
}  // namespace quillon::rotation::avx2

#endif
