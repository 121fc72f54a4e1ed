#include "engine/MagnifyKernel.h"

#include <bit>
#include <cstddef>
#include <limits>

#include "engine/BilinearSample.h"
#include "engine/PixelWords.h"
#include "engine/Rounding.h"

namespace quillon {
namespace {

constexpr std::int32_t kNearest = 0;
constexpr std::int32_t kBilinear = 1;

// One axis of the mapping from destination back to source: p -> (p - centre) * step +
// centre, in double precision. The same expression serves columns and rows.
struct AxisMap {
    double centre;
    double step;
    double at(std::int32_t p) const { return (double(p) - centre) * step + centre; }
};

// The source step per destination pixel, 1 / (c / 10) in single precision. A factor of
// 0 makes it infinite; it is written out so no division by zero is ever made, and every
// mapped point then becomes infinite or NaN and lands outside the picture.
float sourceStep(std::int32_t tenths) {
    if (tenths == 0) return std::numeric_limits<float>::infinity();
    return float(1.0 / (double(tenths) / 10.0));
}

// The two planes the kernel works on, with row access by 1-based surface row.
struct Planes {
    const std::uint8_t* source;
    std::uint8_t* destination;
    std::int32_t width;
    std::int32_t height;

    const std::uint8_t* sourceRow(std::int32_t y) const { return source + rowOffset(width, y); }
    std::uint8_t* destinationRow(std::int32_t y) const { return destination + rowOffset(width, y); }
};

void fillRow(std::uint8_t* row, std::int32_t width, std::uint32_t background) {
    for (std::int32_t x = 0; x < width; ++x)
        storeKeepingReserved(row + 4 * std::size_t(x), background);
}

void nearestPass(const Planes& planes, const AxisMap& columns, const AxisMap& rows,
                 std::uint32_t background) {
    const std::int32_t w = planes.width, h = planes.height;
    for (std::int32_t y = 1; y <= h; ++y) {
        std::uint8_t* out = planes.destinationRow(y);
        const std::int32_t sy = roundToInt32(rows.at(y));
        if (sy < 1 || sy > h) {
            fillRow(out, w, background);
            continue;
        }
        const std::uint8_t* in = planes.sourceRow(sy);
        for (std::int32_t x = 1; x <= w; ++x, out += 4) {
            const std::int32_t sx = roundToInt32(columns.at(x));
            const bool inside = sx >= 1 && sx <= w;
            storeKeepingReserved(out, inside ? loadPixel(in + columnOffset(sx)) : background);
        }
    }
}

void bilinearPass(const Planes& planes, const AxisMap& columns, const AxisMap& rows,
                  std::uint32_t background) {
    const std::int32_t w = planes.width, h = planes.height;
    for (std::int32_t y = 1; y <= h; ++y) {
        std::uint8_t* out = planes.destinationRow(y);
        const auto row = blendCellAlong(rows.at(y), std::uint32_t(h));
        if (!row) {
            fillRow(out, w, background);
            continue;
        }
        const std::uint8_t* lower = planes.sourceRow(row->lower);
        const std::uint8_t* upper = planes.sourceRow(row->lower + 1);
        for (std::int32_t x = 1; x <= w; ++x, out += 4) {
            const auto column = blendCellAlong(columns.at(x), std::uint32_t(w));
            if (!column) {
                storeKeepingReserved(out, background);
                continue;
            }
            const std::size_t left = columnOffset(column->lower);
            storeKeepingReserved(
                out, bilinearBlend(lower + left, upper + left, column->fraction, row->fraction));
        }
    }
}

}  // namespace

void magnifyKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                   KernelPointerArgument c) {
    const KernelParameterRecord fields = *record;
    if (fields.opCode != kNearest && fields.opCode != kBilinear) return;
    if (fields.width < 1 || fields.height < 1) return;

    const double step = sourceStep(std::int32_t(c));
    // The centre row arrives counted from the top; surface rows count from the bottom.
    const float centreRow = float(double(fields.height) - double(std::bit_cast<float>(b)));
    const AxisMap columns{double(std::bit_cast<float>(a)), step};
    const AxisMap rows{double(centreRow), step};
    const Planes planes{planeStart(fields, 3), planeStart(fields, 2), fields.width, fields.height};
    const std::uint32_t background = colourAsPixel(fields.colour);

    if (fields.opCode == kNearest) {
        nearestPass(planes, columns, rows, background);
    } else {
        bilinearPass(planes, columns, rows, background);
    }
}

}  // namespace quillon
