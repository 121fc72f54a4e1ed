#include "engine/RotationKernel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "engine/AffineResample.h"
#include "engine/PixelWords.h"
#include "engine/PlaneView.h"

namespace quillon {
namespace {

// The terms fixed for the whole call, and the colour of what the turn brings in from
// outside the picture. The cosine and sine are kept in single precision like the centre,
// but every per-pixel term is computed in double from them.
struct Turn {
    double cosine;
    double sine;
    double centreX;            // surface column
    double centreY;            // surface row, counted upward from the bottom row
    std::uint32_t background;  // as a pixel word: blue, green, red, no reserved byte
};

Turn turnFor(std::int32_t degrees, KernelArgument a, KernelArgument b, std::uint32_t height,
             std::uint32_t background) {
    const double theta = (std::numbers::pi / 180.0) * double(degrees);
    const double fromTop = std::bit_cast<float>(b);
    return Turn{
        .cosine = float(std::cos(theta)),
        .sine = float(std::sin(theta)),
        .centreX = std::bit_cast<float>(a),
        .centreY = float(double(height) - fromTop),
        .background = background,
    };
}

// The source line of destination row y: the terms of the row's own distance from the
// centre, and the order of the sums of the plain formula,
//   fx = (x − cx)·cos − (y − cy)·sin + cx,  fy = (y − cy)·cos + (x − cx)·sin + cy.
resample::Row turnedRow(const PlaneView& planes, const Turn& turn, bool blends, std::int32_t y) {
    const double up = double(y) - turn.centreY;
    return {.source = planes.source,
            .crossesRows = true,
            .blends = blends,
            .width = planes.width,
            .height = planes.height,
            .line = {.centreX = turn.centreX,
                     .stepX = turn.cosine,
                     .shiftX = up * turn.sine,
                     .centreY = turn.centreY,
                     .stepY = turn.sine,
                     .shiftY = up * turn.cosine},
            .rowFraction = 0.0f,
            .background = turn.background};
}

// Blending goes tile by tile: a tile's source cells lie in a turned tile of the same size,
// few enough to stay in the nearest cache while every row of the tile reads them, where
// whole rows would each sweep across far more of the source. (The nearest pixel costs too
// little for that to pay: it keeps whole rows, whose long runs the processor's prefetching
// follows better.) Every destination pixel is still written once from a plane no pixel of
// which is written, so the source is never the working plane and any order gives the same
// bytes.
void turnPlane(const PlaneView& planes, const Turn& turn, bool blends) {
    const std::int64_t tileRows = blends ? 16 : 1, tileColumns = blends ? 256 : planes.width;
    for (std::int64_t top = 1; top <= planes.height; top += tileRows) {
        const std::int64_t bottom = std::min<std::int64_t>(planes.height, top + tileRows - 1);
        for (std::int64_t left = 1; left <= planes.width; left += tileColumns) {
            const auto right =
                std::int32_t(std::min<std::int64_t>(planes.width, left + tileColumns - 1));
            for (std::int64_t y = top; y <= bottom; ++y) {
                resample::resampleRow(turnedRow(planes, turn, blends, std::int32_t(y)),
                                      planes.targetAt(left, y), std::int32_t(left), right);
            }
        }
    }
}

}  // namespace

void rotationKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                    KernelPointerArgument c) {
    const std::optional<RotationMode> mode = knownOp<RotationMode>(record->opCode);
    if (!mode) return;
    if (record->width <= 0 || record->height <= 0) return;
    const auto width = std::uint32_t(record->width), height = std::uint32_t(record->height);

    const SurfacePlane source = readsOriginal(*mode) ? SurfacePlane::Original : SurfacePlane::Undo;
    const PlaneView planes{planeStart(*record, source), planeStart(*record, SurfacePlane::Working),
                           std::int32_t(width), std::int32_t(height)};
    const Turn turn = turnFor(std::int32_t(c), a, b, height, colourAsPixel(record->colour));
    turnPlane(planes, turn, isBilinear(*mode));
}

}  // namespace quillon
