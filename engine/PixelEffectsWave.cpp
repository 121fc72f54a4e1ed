// The vertical wave: every row of the working plane becomes, in blue, green and red,
// a whole row of the undo plane, the one the wave table names for it.

#include <cstring>

#include "engine/PixelEffectsAvx2.h"
#include "engine/PixelEffectsKernel.h"
#include "engine/PixelWords.h"
#include "engine/Rounding.h"
#include "engine/SimdDispatch.h"

namespace quillon::pixeleffects {
namespace {

// The table is built to hold rows only, but the kernel is not the one that built it:
// a value below row 1 (or not a number) reads row 1, one above the top row reads the
// top row, so no value can lead outside the plane.
std::int32_t sourceRow(float value, std::int32_t height) {
    if (!(double(value) >= 1.0)) return 1;
    if (double(value) > double(height)) return height;
    return roundToInt32(value);
}

float tableValue(const void* table, std::int32_t row) {
    float value;
    std::memcpy(&value, static_cast<const std::uint8_t*>(table) + 4 * std::size_t(row - 1), 4);
    return value;
}

void copyColourBytes(const std::uint8_t* source, std::uint8_t* target, std::int32_t width) {
    std::size_t i = simd::useAvx2() ? 4 * avx2::copyColourBytes(source, target, width) : 0;
    for (; i < 4 * std::size_t(width); i += 4)
        storeKeepingReserved(target + i, loadPixel(source + i));
}

}  // namespace

void wave(const PlaneView& planes, const void* table) {
    for (std::int32_t y = 1; y <= planes.height; ++y) {
        const std::int32_t sy = sourceRow(tableValue(table, y), planes.height);
        copyColourBytes(planes.source + planes.rowOffset(sy), planes.target + planes.rowOffset(y),
                        planes.width);
    }
}

}  // namespace quillon::pixeleffects
