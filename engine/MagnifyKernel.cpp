#include "engine/MagnifyKernel.h"

#include <bit>
#include <limits>

#include "engine/AffineResample.h"
#include "engine/BilinearSample.h"
#include "engine/MagnifyRows.h"
#include "engine/PixelWords.h"
#include "engine/PlaneView.h"
#include "engine/Rounding.h"

namespace quillon {
namespace {

using magnify::AxisMap;
using magnify::fillRow;
using magnify::kSeparableWidth;
using magnify::magnifiedRow;

// The source step per destination pixel, 1 / (c / 10) in single precision. A factor of
// 0 makes it infinite; it is written out so no division by zero is ever made, and every
// mapped point then becomes infinite or NaN and lands outside the picture.
float sourceStep(std::int32_t tenths) {
    if (tenths == 0) return std::numeric_limits<float>::infinity();
    return float(1.0 / (double(tenths) / 10.0));
}

void nearestPass(const PlaneView& planes, const AxisMap& columns, const AxisMap& rows,
                 std::uint32_t background) {
    for (std::int32_t y = 1; y <= planes.height; ++y) {
        std::uint8_t* out = planes.targetRow(y);
        const std::int32_t sy = roundToInt32(rows.at(y));
        if (sy < 1 || sy > planes.height) {
            fillRow(out, planes.width, background);
            continue;
        }
        resample::resampleRow(magnifiedRow(planes, columns, sy, false, 0.0f, background), out, 1,
                              planes.width);
    }
}

}  // namespace

namespace magnify {

void bilinearPass(const PlaneView& planes, const AxisMap& columns, const AxisMap& rows,
                  std::uint32_t background) {
    for (std::int32_t y = 1; y <= planes.height; ++y) {
        std::uint8_t* out = planes.targetRow(y);
        const auto row = blendCellAlong(rows.at(y), std::uint32_t(planes.height));
        if (!row) {
            fillRow(out, planes.width, background);
            continue;
        }
        resample::resampleRow(
            magnifiedRow(planes, columns, row->lower, true, float(row->fraction), background), out,
            1, planes.width);
    }
}

}  // namespace magnify

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
    } else if (planes.width <= kSeparableWidth) {
        magnify::separableBilinearPass(planes, columns, rows, background);
    } else {
        magnify::bilinearPass(planes, columns, rows, background);
    }
}

}  // namespace quillon
