#pragma once

#include <cstdint>

// The twist (PixelEffectsTwistAvx2.cpp): the pixels of one row pair at column distances
// from the centre of four at a time.
namespace quillon::pixeleffects::avx2 {

struct TwistRun {
    const std::uint8_t* source;       // the undo plane
    std::uint8_t* target;             // the working plane
    std::int32_t width, height;       // W x H below 2^31
    std::int32_t cx, cy;              // the centre
    double longerSide, largestAngle;  // as the baseline's
    std::uint32_t colourX;            // a pixel word
    std::int32_t dy;                  // the rows' distance from the centre row
    std::int32_t rows[2];             // the one or two rows at that distance
    int rowCount;
};

// Column distances from `firstDx` (at least 1) on, four at a time while all four and their
// mirror images lie inside the picture and within `lastDx`. Returns the first distance not
// done.
std::int32_t twistColumns(const TwistRun& run, std::int32_t firstDx, std::int32_t lastDx);

// The turn of four angles: float(std::cos(θ)) and float(std::sin(θ)), exactly as the
// library's double-precision functions give them rounded to single precision.
void turnsOfFour(const double* angles, float* cosines, float* sines);

}  // namespace quillon::pixeleffects::avx2
