#include "engine/MagnifyKernel.h"

#include <bit>
#include <cstddef>
#include <limits>
#include <vector>

#include "engine/BilinearSample.h"
#include "engine/MagnifyAvx2.h"
#include "engine/PixelWords.h"
#include "engine/PlaneView.h"
#include "engine/Rounding.h"
#include "engine/SimdDispatch.h"

namespace quillon {
namespace {

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

void fillRow(std::uint8_t* row, std::int32_t width, std::uint32_t background) {
    for (std::int32_t x = 0; x < width; ++x)
        storeKeepingReserved(row + 4 * std::size_t(x), background);
}

// The AVX2 rows find blend cells in single precision and index a row with 32-bit lanes,
// and so take rows of fewer than 2^23 pixels: every picture a surface can hold.
bool useWideRows(const PlaneView& planes) {
    return simd::useAvx2() && planes.width < (1 << 23);
}

// The first columns of a row on the AVX2 path, or none; returns the first column left.
std::int32_t firstColumnLeft(bool wide, std::size_t (*wideRow)(const magnify::avx2::MagnifiedRow&),
                             const magnify::avx2::MagnifiedRow& row) {
    return wide ? std::int32_t(wideRow(row)) + 1 : 1;
}

void nearestPass(const PlaneView& planes, const AxisMap& columns, const AxisMap& rows,
                 std::uint32_t background) {
    const std::int32_t w = planes.width, h = planes.height;
    const bool wide = useWideRows(planes);
    for (std::int32_t y = 1; y <= h; ++y) {
        std::uint8_t* out = planes.targetRow(y);
        const std::int32_t sy = roundToInt32(rows.at(y));
        if (sy < 1 || sy > h) {
            fillRow(out, w, background);
            continue;
        }
        const std::uint8_t* in = planes.sourceRow(sy);
        const std::int32_t first =
            firstColumnLeft(wide, magnify::avx2::nearestRow,
                            {in, out, w, columns.centre, columns.step, 0.0f, background});
        out += columnOffset(first);
        for (std::int32_t x = first; x <= w; ++x, out += 4) {
            const std::int32_t sx = roundToInt32(columns.at(x));
            const bool inside = sx >= 1 && sx <= w;
            storeKeepingReserved(out, inside ? loadPixel(in + columnOffset(sx)) : background);
        }
    }
}

// Columns `first` to W of a destination row between source rows `lower` and `upper`.
void blendColumns(std::uint8_t* rowOut, const std::uint8_t* lower, const std::uint8_t* upper,
                  const AxisMap& columns, const BlendCell& row, std::int32_t first, std::int32_t w,
                  std::uint32_t background) {
    std::uint8_t* out = rowOut + columnOffset(first);
    for (std::int32_t x = first; x <= w; ++x, out += 4) {
        const auto column = blendCellAlong(columns.at(x), std::uint32_t(w));
        if (!column) {
            storeKeepingReserved(out, background);
            continue;
        }
        const std::size_t left = columnOffset(column->lower);
        storeKeepingReserved(
            out, bilinearBlend(lower + left, upper + left, column->fraction, row.fraction));
    }
}

void bilinearPass(const PlaneView& planes, const AxisMap& columns, const AxisMap& rows,
                  std::uint32_t background) {
    const std::int32_t w = planes.width, h = planes.height;
    const bool wide = useWideRows(planes);
    for (std::int32_t y = 1; y <= h; ++y) {
        std::uint8_t* out = planes.targetRow(y);
        const auto row = blendCellAlong(rows.at(y), std::uint32_t(h));
        if (!row) {
            fillRow(out, w, background);
            continue;
        }
        const std::uint8_t* lower = planes.sourceRow(row->lower);
        const std::uint8_t* upper = planes.sourceRow(row->lower + 1);
        const std::int32_t first = firstColumnLeft(
            wide, magnify::avx2::blendedRow,
            {lower, out, w, columns.centre, columns.step, float(row->fraction), background});
        blendColumns(out, lower, upper, columns, *row, first, w, background);
    }
}

// The blends along source rows, each computed once and kept while destination rows between
// it and a neighbour still need it (MagnifyAvx2.h).
class RowBlends {
public:
    RowBlends(const PlaneView& planes, const std::int32_t* cells, std::size_t columns)
        : planes_(planes), cells_(cells), columns_(columns) {
        for (auto& slot : slots_) slot.resize(columns / 8 * magnify::avx2::kGroupWords);
    }

    // The blends along source row y; a slot holding row `keep` is not given up for it.
    const std::int32_t* along(std::int32_t y, std::int32_t keep) {
        for (int s = 0; s < 2; ++s)
            if (held_[s] == y) return slots_[s].data();
        const int s = held_[0] == keep ? 1 : 0;
        magnify::avx2::blendAlongRow(planes_.sourceRow(y), cells_, columns_, slots_[s].data());
        held_[s] = y;
        return slots_[s].data();
    }

private:
    const PlaneView& planes_;
    const std::int32_t* cells_;
    std::size_t columns_;
    std::vector<std::int32_t> slots_[2];
    std::int32_t held_[2] = {0, 0};  // the source row in each slot, 0 for none
};

// The AVX2 pass taken apart: every source row is blended along once however many
// destination rows it serves, so a zoom in costs little more than its final blends. The
// blends are exactly the baseline's (BilinearSampleAvx2.h), columns past the last group of
// eight are the baseline's own.
void separableBilinearPass(const PlaneView& planes, const AxisMap& columns, const AxisMap& rows,
                           std::uint32_t background) {
    const std::int32_t w = planes.width, h = planes.height;
    const std::size_t grouped = std::size_t(w) / 8 * 8;
    std::vector<std::int32_t> cells(grouped / 8 * magnify::avx2::kGroupWords);
    magnify::avx2::columnCells(columns.centre, columns.step, w, grouped, cells.data());
    RowBlends blends(planes, cells.data(), grouped);
    for (std::int32_t y = 1; y <= h; ++y) {
        std::uint8_t* out = planes.targetRow(y);
        const auto row = blendCellAlong(rows.at(y), std::uint32_t(h));
        if (!row) {
            fillRow(out, w, background);
            continue;
        }
        const std::int32_t* lower = blends.along(row->lower, row->lower + 1);
        const std::int32_t* upper = blends.along(row->lower + 1, row->lower);
        magnify::avx2::blendAcrossRows(lower, upper, cells.data(), grouped, float(row->fraction),
                                       background, out);
        blendColumns(out, planes.sourceRow(row->lower), planes.sourceRow(row->lower + 1), columns,
                     *row, std::int32_t(grouped) + 1, w, background);
    }
}

// Rows up to this many pixels keep their blends (36 bytes a pixel); wider ones, which no
// screen shows, blend pixel by pixel.
constexpr std::int32_t kSeparableWidth = 1 << 16;

}  // namespace

void magnifyKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                   KernelPointerArgument c) {
    const KernelParameterRecord fields = *record;
    const std::optional<MagnifyMode> mode = knownOp<MagnifyMode>(fields.opCode);
    if (!mode) return;
    if (fields.width < 1 || fields.height < 1) return;

    const double step = sourceStep(std::int32_t(c));
    // The centre row arrives counted from the top; surface rows count from the bottom.
    const float centreRow = float(double(fields.height) - double(std::bit_cast<float>(b)));
    const AxisMap columns{double(std::bit_cast<float>(a)), step};
    const AxisMap rows{double(centreRow), step};
    const PlaneView planes{planeStart(fields, SurfacePlane::Undo),
                           planeStart(fields, SurfacePlane::Working), fields.width, fields.height};
    const std::uint32_t background = colourAsPixel(fields.colour);

    if (*mode == MagnifyMode::Nearest) {
        nearestPass(planes, columns, rows, background);
    } else if (useWideRows(planes) && planes.width <= kSeparableWidth) {
        separableBilinearPass(planes, columns, rows, background);
    } else {
        bilinearPass(planes, columns, rows, background);
    }
}

}  // namespace quillon
