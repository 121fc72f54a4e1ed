#pragma once

// The rows of the magnify kernel (MagnifyKernel.cpp) shared with its separable bilinear
// pass (MagnifySeparable.cpp).

#include <cstddef>
#include <cstdint>

#include "engine/AffineResample.h"
#include "engine/PixelWords.h"
#include "engine/PlaneView.h"

namespace quillon::magnify {

// One axis of the mapping from destination back to source: p -> (p - centre) * step +
// centre, in double precision. The same expression serves columns and rows.
struct AxisMap {
    double centre;
    double step;
    double at(std::int32_t p) const { return (double(p) - centre) * step + centre; }
};

inline void fillRow(std::uint8_t* row, std::int32_t width, std::uint32_t background) {
    for (std::int32_t x = 0; x < width; ++x)
        storeKeepingReserved(row + 4 * std::size_t(x), background);
}

// A destination row that samples source row `sourceRow` (blending, that row and the one
// above it, `rowFraction` past it) along the columns' mapping. Nothing is shifted, and
// subtracting a zero shift changes no value: the columns map as AxisMap::at maps them.
inline resample::Row magnifiedRow(const PlaneView& planes, const AxisMap& columns,
                                  std::int32_t sourceRow, bool blends, float rowFraction,
                                  std::uint32_t background) {
    return {.source = planes.sourceRow(sourceRow),
            .crossesRows = false,
            .blends = blends,
            .width = planes.width,
            .height = planes.height,
            .line = {.centreX = columns.centre,
                     .stepX = columns.step,
                     .shiftX = 0.0,
                     .centreY = 0.0,
                     .stepY = 0.0,
                     .shiftY = 0.0},
            .rowFraction = rowFraction,
            .background = background};
}

// The bilinear pass row by row, each destination row between the two source rows it
// falls between.
void bilinearPass(const PlaneView& planes, const AxisMap& columns, const AxisMap& rows,
                  std::uint32_t background);

// The bilinear pass taken apart: every source row is blended along once however many
// destination rows it serves, so a zoom in costs little more than its final blends.
// For rows of at most kSeparableWidth pixels (36 bytes a pixel are kept).
inline constexpr std::int32_t kSeparableWidth = 1 << 16;

void separableBilinearPass(const PlaneView& planes, const AxisMap& columns, const AxisMap& rows,
                           std::uint32_t background);

}  // namespace quillon::magnify
