#pragma once

// The AVX2 row passes of the rotation kernel (RotationAvx2.cpp), for processors that have
// AVX2. Each does a stretch of a destination row from its first pixel, eight pixels at a
// time, and returns how many it did; the caller does the rest of the stretch.

#include <cstddef>
#include <cstdint>

namespace quillon::rotation::avx2 {

struct TurnedRow {
    const std::uint8_t* source;  // the plane read, W x H pixels
    std::uint8_t* destination;   // the first pixel of the stretch of destination row y
    std::int32_t width, height;  // both below 2^23, and W x H below 2^31
    std::int32_t y;
    std::int32_t firstColumn, columns;  // the stretch
    std::uint32_t background;           // a pixel word
    double cosine, sine;                // the turn, single-precision values widened
    double centreX, centreY;            // surface column and row of the centre
};

std::size_t nearestRow(const TurnedRow& row);
std::size_t blendedRow(const TurnedRow& row);

}  // namespace quillon::rotation::avx2
