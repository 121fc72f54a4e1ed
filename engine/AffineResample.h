#pragma once

// One destination row resampled from a source plane along a straight line, as magnify and
// rotation both fill theirs: every destination column maps back to a point of the source,
// which gives the nearest source pixel or the bilinear blend of the 2 x 2 cell around it,
// or the background where that lies outside the picture. The rows are written once on
// Highway, for every target the build keeps, and agree with the plain rows to the bit.

#include <cstdint>

namespace quillon::resample {

// Where destination column x samples the source:
//   fx = ((x − centreX)·stepX − shiftX) + centreX
//   fy = (shiftY + (x − centreX)·stepY) + centreY
// in double precision and in that order, since the order is part of every result.
struct SourceLine {
    double centreX, stepX, shiftX;
    double centreY, stepY, shiftY;
};

struct Row {
    // Crossing rows, the first pixel of the source plane, and both fx and fy are mapped.
    // Otherwise the caller has already placed the row on one source row (blending, on the
    // lower of two, the upper one following it in memory) and `source` is its first
    // pixel; only fx is mapped.
    const std::uint8_t* source;
    bool crossesRows;
    bool blends;                 // a bilinear blend, else the nearest pixel
    std::int32_t width, height;  // of the source plane
    SourceLine line;
    float rowFraction;         // blending along one pair of rows: how far past the lower one
    std::uint32_t background;  // a pixel word
};

// Columns `first` to `last` of a destination row whose pixel in column `first` is at
// `destination`. Only blue, green and red are written; each reserved byte stays.
void resampleRow(const Row& row, std::uint8_t* destination, std::int32_t first, std::int32_t last);

// The same, pixel by pixel without vectors: for the columns the vector rows leave over.
void resampleRowPlain(const Row& row, std::uint8_t* destination, std::int32_t first,
                      std::int32_t last);

}  // namespace quillon::resample
