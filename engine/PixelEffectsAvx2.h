#pragma once

// The AVX2 row passes of the pixel effects (PixelEffectsAvx2.cpp), for processors that have
// AVX2. Each works along one row of the working plane from a given pixel, eight pixels at a
// time, and returns how many pixels it did; the caller does the rest of the row.

#include <cstddef>
#include <cstdint>

namespace quillon::pixeleffects::avx2 {

// Rows y - 1, y and y + 1 of the undo plane and row y of the working plane, each from the
// first pixel to do; `count` pixels follow it, every one with all eight neighbours.
struct RowSpan {
    const std::uint8_t* below;
    const std::uint8_t* middle;
    const std::uint8_t* above;
    std::uint8_t* target;
    std::size_t count;
};

std::size_t edgeFilter(const RowSpan& row, std::uint32_t colour);
std::size_t diagonalRelief(const RowSpan& row, std::uint32_t colour);
std::size_t emboss(const RowSpan& row, std::uint32_t colour);

}  // namespace quillon::pixeleffects::avx2
