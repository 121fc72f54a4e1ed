#include "engine/RotationKernel.h"

#include <bit>
#include <cmath>
#include <numbers>

#include "engine/BilinearSample.h"
#include "engine/PixelWords.h"
#include "engine/Rounding.h"

namespace quillon {
namespace {

constexpr std::int32_t kBlendBit = 1;
constexpr std::int32_t kOriginalSourceBit = 2;
constexpr std::int32_t kLargestOpCode = 3;

// The terms fixed for the whole call. The cosine and sine are kept in single precision
// like the centre, but every per-pixel term is computed in double from them.
struct Turn {
    double cosine;
    double sine;
    double centreX;  // surface column
    double centreY;  // surface row, counted upward from the bottom row
};

Turn turnFor(std::int32_t degrees, KernelArgument a, KernelArgument b, std::uint32_t height) {
    const double theta = (std::numbers::pi / 180.0) * double(degrees);
    const double fromTop = std::bit_cast<float>(b);
    return Turn{
        .cosine = float(std::cos(theta)),
        .sine = float(std::sin(theta)),
        .centreX = std::bit_cast<float>(a),
        .centreY = float(double(height) - fromTop),
    };
}

struct Planes {
    const std::uint8_t* source;
    std::uint8_t* working;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t background;  // as a pixel word: blue, green, red, no reserved byte
};

// The nearest source pixel's word, or the background when it lies outside the picture.
// A NaN or far-away point converts to INT32_MIN and so lands outside as well.
inline std::uint32_t nearestColour(const Planes& planes, double fx, double fy) {
    const std::int32_t sx = roundToInt32(fx);
    if (sx < 1 || std::uint32_t(sx) > planes.width) return planes.background;
    const std::int32_t sy = roundToInt32(fy);
    if (sy < 1 || std::uint32_t(sy) > planes.height) return planes.background;
    return loadPixel(planes.source + pixelOffset(planes.width, sx, sy));
}

// The bilinear blend around (fx, fy), or the background when the whole cell is not inside.
inline std::uint32_t blendedColour(const Planes& planes, double fx, double fy) {
    const auto column = blendCellAlong(fx, planes.width);
    if (!column) return planes.background;
    const auto row = blendCellAlong(fy, planes.height);
    if (!row) return planes.background;
    const std::uint8_t* lowerLeft =
        planes.source + pixelOffset(planes.width, column->lower, row->lower);
    return bilinearBlend(lowerLeft, lowerLeft + kPixelBytes * planes.width, column->fraction,
                         row->fraction);
}

// One destination row. The terms of the row's own distance from the centre are computed
// once; the sums keep the order of the plain formula so the results are unchanged.
template <bool kBlend>
void turnRow(const Planes& planes, const Turn& turn, std::uint32_t y) {
    const double up = double(y) - turn.centreY;
    const double upCosine = up * turn.cosine, upSine = up * turn.sine;
    std::uint8_t* destination = planes.working + pixelOffset(planes.width, 1, std::int32_t(y));
    for (std::uint32_t x = 1; x <= planes.width; ++x, destination += 4) {
        const double across = double(x) - turn.centreX;
        const double fx = across * turn.cosine - upSine + turn.centreX;
        const double fy = upCosine + across * turn.sine + turn.centreY;
        storeKeepingReserved(
            destination, kBlend ? blendedColour(planes, fx, fy) : nearestColour(planes, fx, fy));
    }
}

// The source is never the working plane, so the rows may be walked in memory order.
template <bool kBlend>
void turnPlane(const Planes& planes, const Turn& turn) {
    for (std::uint32_t y = 1; y <= planes.height; ++y) turnRow<kBlend>(planes, turn, y);
}

}  // namespace

void rotationKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                    KernelPointerArgument c) {
    const std::int32_t opCode = record->opCode;
    if (opCode < 0 || opCode > kLargestOpCode) return;
    const auto width = std::uint32_t(record->width), height = std::uint32_t(record->height);
    if (width == 0 || height == 0) return;

    const int sourcePlane = (opCode & kOriginalSourceBit) != 0 ? 1 : 3;
    const Planes planes{planeStart(*record, sourcePlane), planeStart(*record, 2), width, height,
                        colourAsPixel(record->colour)};
    const Turn turn = turnFor(std::int32_t(c), a, b, height);
    if ((opCode & kBlendBit) != 0) {
        turnPlane<true>(planes, turn);
    } else {
        turnPlane<false>(planes, turn);
    }
}

}  // namespace quillon
