#pragma once

// The AVX2 row passes of the magnify kernel (MagnifyAvx2.cpp), for processors that have
// AVX2. Each does a destination row whose source row (or pair of rows) lies inside the
// picture, from its first pixel, eight pixels at a time, and returns how many it did; the
// caller does the rest of the row.

#include <cstddef>
#include <cstdint>

namespace quillon::magnify::avx2 {

struct MagnifiedRow {
    const std::uint8_t* source;  // nearest: the source row; blended: the lower of the two
    std::uint8_t* destination;   // the first pixel of the destination row
    std::int32_t width;          // below 2^23
    double centre, step;         // column x maps to (x − centre)·step + centre
    float rowFraction;           // blended: how far past the lower row the row maps
    std::uint32_t background;    // a pixel word
};

std::size_t nearestRow(const MagnifiedRow& row);
std::size_t blendedRow(const MagnifiedRow& row);

// The blends of a zoom taken apart: along each source row once, then across each pair of
// rows for every destination row that falls between them. Columns go in groups of eight;
// each group keeps 24 whole numbers in `cells` (the lower pixel's index in its row, the
// fraction past it times 2^23, all ones where the pair lies inside the row) and 24 in a
// row's blends (blue, green, red of each column, times 2^23).
inline constexpr std::size_t kGroupWords = 24;

// The cells of the first `columns` columns (a multiple of 8) of a row `width` pixels wide.
void columnCells(double centre, double step, std::int32_t width, std::size_t columns,
                 std::int32_t* cells);

// Every column's blend along one source row.
void blendAlongRow(const std::uint8_t* sourceRow, const std::int32_t* cells, std::size_t columns,
                   std::int32_t* blends);

// The destination row between two source rows whose blends are given, `rowFraction` past
// the lower one; the background where a column's pair lies outside.
void blendAcrossRows(const std::int32_t* lower, const std::int32_t* upper,
                     const std::int32_t* cells, std::size_t columns, float rowFraction,
                     std::uint32_t background, std::uint8_t* destination);

}  // namespace quillon::magnify::avx2
