// The affine resample row (AffineResample.h): the plain row, pixel by pixel, and the same
// row a vector of pixels at a time, written once on Highway and compiled for every target
// the build keeps (engine/CMakeLists.txt), with the plain row for the end of the row.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/AffineResample.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/AffineResample.h"
#include "engine/AffineResampleVectors-inl.h"
#include "engine/BilinearSample.h"
#include "engine/PixelWords.h"
#include "engine/Rounding.h"

// The plain code is compiled once, however many targets include this file.
#ifndef QUILLON_AFFINE_RESAMPLE_PLAIN
#define QUILLON_AFFINE_RESAMPLE_PLAIN
namespace quillon::resample {
namespace {

struct Point {
    double x, y;
};

Point sourcePoint(const SourceLine& line, std::int32_t x) {
    const double across = double(x) - line.centreX;
    return {across * line.stepX - line.shiftX + line.centreX,
            line.shiftY + across * line.stepY + line.centreY};
}

// The nearest source pixel's word, or the background when it lies outside the picture.
// A NaN or far-away point converts to INT32_MIN and so lands outside as well.
std::uint32_t nearestColour(const Row& row, const Point& p) {
    const std::int32_t sx = roundToInt32(p.x);
    if (sx < 1 || sx > row.width) return row.background;
    if (!row.crossesRows) return loadPixel(row.source + columnOffset(sx));
    const std::int32_t sy = roundToInt32(p.y);
    if (sy < 1 || sy > row.height) return row.background;
    return loadPixel(row.source + pixelOffset(row.width, sx, sy));
}

// The bilinear blend around the point, or the background when the whole cell is not inside.
std::uint32_t blendedColour(const Row& row, const Point& p) {
    const auto column = blendCellAlong(p.x, std::uint32_t(row.width));
    if (!column) return row.background;
    const std::uint8_t* lowerLeft = row.source + columnOffset(column->lower);
    double dy = row.rowFraction;
    if (row.crossesRows) {
        const auto up = blendCellAlong(p.y, std::uint32_t(row.height));
        if (!up) return row.background;
        lowerLeft += rowOffset(row.width, up->lower);
        dy = up->fraction;
    }
    return bilinearBlend(lowerLeft, lowerLeft + kPixelBytes * std::size_t(row.width),
                         column->fraction, dy);
}

}  // namespace

void resampleRowPlain(const Row& row, std::uint8_t* destination, std::int32_t first,
                      std::int32_t last) {
    for (std::int32_t x = first; x <= last; ++x, destination += kPixelBytes) {
        const Point p = sourcePoint(row.line, x);
        storeKeepingReserved(destination,
                             row.blends ? blendedColour(row, p) : nearestColour(row, p));
    }
}

}  // namespace quillon::resample
#endif

HWY_BEFORE_NAMESPACE();
namespace quillon::resample::HWY_NAMESPACE {
#if HWY_TARGET == HWY_SCALAR
void resampleVectorRow(const Row& row, std::uint8_t* destination, std::int32_t first,
                       std::int32_t last) {
    resampleRowPlain(row, destination, first, last);
}
#else
namespace {

// The nearest pixels, the background where they lie outside.
template <bool kCrossesRows>
HWY_INLINE VWords nearestPixels(const Row& row, const Points& low, const Points& high,
                                VWords background) {
    const DInts di;
    const VInts one = hn::Set(di, 1);
    const VInts sx = roundedWholes(low.x, high.x);
    MInts inside = within(sx, row.width);
    VInts index = hn::Sub(sx, one);
    if (kCrossesRows) {
        const VInts sy = roundedWholes(low.y, high.y);
        inside = hn::And(inside, within(sy, row.height));
        index = hn::Add(hn::Mul(hn::Sub(sy, one), hn::Set(di, row.width)), index);
    }
    return gatherPixels(row.source, index, inside, background);
}

template <bool kCrossesRows>
HWY_INLINE VWords blendedPixels(const Row& row, const Points& low, const Points& high,
                                VWords background) {
    const DInts di;
    const Cells across = cellsAlong(low.x, high.x, row.width);
    if (!kCrossesRows) {
        return blendCells(row.source, row.width, across.lower, across.inside, times2p23(across),
                          hn::Set(DFloats(), row.rowFraction), background);
    }
    const Cells up = cellsAlong(low.y, high.y, row.height);
    const VInts index = hn::Add(hn::Mul(up.lower, hn::Set(di, row.width)), across.lower);
    return blendCells(row.source, row.width, index, hn::And(across.inside, up.inside),
                      times2p23(across), up.fraction, background);
}

// Whole vectors of pixels from column `first`; returns the first column left over.
template <bool kCrossesRows, bool kBlends>
std::int32_t vectorColumns(const Row& given, std::uint8_t* destination, std::int32_t first,
                           std::int32_t last) {
    // A copy no store can reach, so that its terms stay in registers across the row.
    const Row row = given;
    const D64 d;
    const LineTerms terms = lineTerms(row.line);
    const VWords background = hn::Set(DWords(), row.background);
    const std::size_t half = hn::Lanes(d), n = 2 * half;
    const V64 halfStep = hn::Set(d, double(half));
    V64 columns = hn::Iota(d, double(first));
    std::int32_t x = first;
    for (; std::int64_t{last} - x + 1 >= std::int64_t(n); x += std::int32_t(n)) {
        const V64 upper = hn::Add(columns, halfStep);
        const Points low = sourcePoints<kCrossesRows>(terms, columns);
        const Points high = sourcePoints<kCrossesRows>(terms, upper);
        storeColour(destination, kBlends ? blendedPixels<kCrossesRows>(row, low, high, background)
                                         : nearestPixels<kCrossesRows>(row, low, high, background));
        destination += 4 * n;
        columns = hn::Add(upper, halfStep);
    }
    return x;
}

}  // namespace

void resampleVectorRow(const Row& row, std::uint8_t* destination, std::int32_t first,
                       std::int32_t last) {
    std::int32_t next = first;
    if (row.crossesRows) {
        next = row.blends ? vectorColumns<true, true>(row, destination, first, last)
                          : vectorColumns<true, false>(row, destination, first, last);
    } else {
        next = row.blends ? vectorColumns<false, true>(row, destination, first, last)
                          : vectorColumns<false, false>(row, destination, first, last);
    }
    resampleRowPlain(row, destination + columnOffset(next - first + 1), next, last);
}
#endif

}  // namespace quillon::resample::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quillon::resample {

HWY_EXPORT(resampleVectorRow);

namespace {

// The vector rows find blend cells in single precision and index the plane with 32-bit
// lanes, and so take planes with each side below 2^23 and fewer than 2^31 pixels: every
// picture a surface can hold.
bool fitsVectorRows(const Row& row) {
    constexpr std::int32_t kSide = 1 << 23;
    if (row.width >= kSide) return false;
    if (!row.crossesRows) return true;
    return row.height < kSide && std::int64_t{row.width} * row.height < (std::int64_t{1} << 31);
}

}  // namespace

void resampleRow(const Row& row, std::uint8_t* destination, std::int32_t first, std::int32_t last) {
    if (!fitsVectorRows(row)) return resampleRowPlain(row, destination, first, last);
    HWY_DYNAMIC_DISPATCH(resampleVectorRow)(row, destination, first, last);
}

}  // namespace quillon::resample
#endif
