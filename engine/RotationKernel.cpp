#include "engine/RotationKernel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "engine/BilinearSample.h"
#include "engine/PixelWords.h"
#include "engine/PlaneView.h"
#include "engine/RotationAvx2.h"
#include "engine/Rounding.h"
#include "engine/SimdDispatch.h"

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

// The rotation counts columns and rows as unsigned 32-bit numbers.
std::uint32_t columnsOf(const PlaneView& planes) {
    return std::uint32_t(planes.width);
}
std::uint32_t rowsOf(const PlaneView& planes) {
    return std::uint32_t(planes.height);
}

// The nearest source pixel's word, or the background when it lies outside the picture.
// A NaN or far-away point converts to INT32_MIN and so lands outside as well.
inline std::uint32_t nearestColour(const PlaneView& planes, std::uint32_t background, double fx,
                                   double fy) {
    const std::int32_t sx = roundToInt32(fx);
    if (sx < 1 || std::uint32_t(sx) > columnsOf(planes)) return background;
    const std::int32_t sy = roundToInt32(fy);
    if (sy < 1 || std::uint32_t(sy) > rowsOf(planes)) return background;
    return loadPixel(planes.source + pixelOffset(columnsOf(planes), sx, sy));
}

// The bilinear blend around (fx, fy), or the background when the whole cell is not inside.
inline std::uint32_t blendedColour(const PlaneView& planes, std::uint32_t background, double fx,
                                   double fy) {
    const auto column = blendCellAlong(fx, columnsOf(planes));
    if (!column) return background;
    const auto row = blendCellAlong(fy, rowsOf(planes));
    if (!row) return background;
    const std::uint8_t* lowerLeft =
        planes.source + pixelOffset(columnsOf(planes), column->lower, row->lower);
    return bilinearBlend(lowerLeft, lowerLeft + kPixelBytes * columnsOf(planes), column->fraction,
                         row->fraction);
}

// Columns `firstX` to `lastX` of a destination row. The terms of the row's own distance
// from the centre are computed once; the sums keep the order of the plain formula so the
// results are unchanged.
template <bool kBlend>
void turnRow(const PlaneView& planes, const Turn& turn, std::uint32_t y, std::uint32_t firstX,
             std::uint32_t lastX) {
    const double up = double(y) - turn.centreY;
    const double upCosine = up * turn.cosine, upSine = up * turn.sine;
    std::uint8_t* destination =
        planes.target + pixelOffset(columnsOf(planes), firstX, std::int32_t(y));
    for (std::uint32_t x = firstX; x <= lastX; ++x, destination += 4) {
        const double across = double(x) - turn.centreX;
        const double fx = across * turn.cosine - upSine + turn.centreX;
        const double fy = upCosine + across * turn.sine + turn.centreY;
        storeKeepingReserved(destination, kBlend ? blendedColour(planes, turn.background, fx, fy)
                                                 : nearestColour(planes, turn.background, fx, fy));
    }
}

// The AVX2 rows index the plane with 32-bit lanes and find blend cells in single
// precision, and so take planes of fewer than 2^31 pixels, each side below 2^23: every
// picture a surface can hold.
bool avx2RowsFit(const PlaneView& planes) {
    return columnsOf(planes) < (1u << 23) && rowsOf(planes) < (1u << 23) &&
           std::uint64_t{columnsOf(planes)} * rowsOf(planes) < (std::uint64_t{1} << 31);
}

// The first columns of a stretch of row y on the AVX2 path; returns how many it did.
template <bool kBlend>
std::uint32_t turnStretchWide(const PlaneView& planes, const Turn& turn, std::uint32_t y,
                              std::uint32_t firstX, std::uint32_t columns) {
    const rotation::avx2::TurnedRow row{planes.source,
                                        planes.target + pixelOffset(columnsOf(planes), firstX, y),
                                        std::int32_t(columnsOf(planes)),
                                        std::int32_t(rowsOf(planes)),
                                        std::int32_t(y),
                                        std::int32_t(firstX),
                                        std::int32_t(columns),
                                        turn.background,
                                        turn.cosine,
                                        turn.sine,
                                        turn.centreX,
                                        turn.centreY};
    return std::uint32_t(kBlend ? rotation::avx2::blendedRow(row)
                                : rotation::avx2::nearestRow(row));
}

// Blending on the AVX2 path goes tile by tile: a tile's source cells lie in a turned tile
// of the same size, few enough to stay in the nearest cache while every row of the tile
// reads them, where whole rows would each sweep across far more of the source. (The
// nearest pixel costs too little for that to pay: it keeps whole rows, whose long runs the
// processor's prefetching follows better.) Every destination pixel is still written once
// from a plane no pixel of which is written.
template <bool kBlend>
void turnPlaneInTiles(const PlaneView& planes, const Turn& turn) {
    const std::uint32_t kTileRows = kBlend ? 16 : 1,
                        kTileColumns = kBlend ? 256 : columnsOf(planes);
    for (std::uint32_t top = 1; top <= rowsOf(planes); top += kTileRows) {
        const std::uint32_t bottom = std::min(rowsOf(planes), top + kTileRows - 1);
        for (std::uint32_t left = 1; left <= columnsOf(planes); left += kTileColumns) {
            const std::uint32_t right = std::min(columnsOf(planes), left + kTileColumns - 1);
            for (std::uint32_t y = top; y <= bottom; ++y) {
                const std::uint32_t done =
                    turnStretchWide<kBlend>(planes, turn, y, left, right - left + 1);
                turnRow<kBlend>(planes, turn, y, left + done, right);
            }
        }
    }
}

// The source is never the working plane, so the rows may be walked in memory order.
template <bool kBlend>
void turnPlane(const PlaneView& planes, const Turn& turn) {
    if (simd::useAvx2() && avx2RowsFit(planes)) return turnPlaneInTiles<kBlend>(planes, turn);
    for (std::uint32_t y = 1; y <= rowsOf(planes); ++y)
        turnRow<kBlend>(planes, turn, y, 1, columnsOf(planes));
}

}  // namespace

void rotationKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                    KernelPointerArgument c) {
    const std::optional<RotationMode> mode = knownOp<RotationMode>(record->opCode);
    if (!mode) return;
    const auto width = std::uint32_t(record->width), height = std::uint32_t(record->height);
    if (width == 0 || height == 0) return;

    const SurfacePlane source = readsOriginal(*mode) ? SurfacePlane::Original : SurfacePlane::Undo;
    const PlaneView planes{planeStart(*record, source), planeStart(*record, SurfacePlane::Working),
                           std::int32_t(width), std::int32_t(height)};
    const Turn turn = turnFor(std::int32_t(c), a, b, height, colourAsPixel(record->colour));
    if (isBilinear(*mode)) {
        turnPlane<true>(planes, turn);
    } else {
        turnPlane<false>(planes, turn);
    }
}

}  // namespace quillon
