// The vertical wave: every row of the working plane becomes, in blue, green and red,
// a whole row of the undo plane, the one the wave table names for it. The row copy is
// written once on Highway and compiled for every target the build keeps
// (engine/CMakeLists.txt), with the plain loop for the end of the row.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/PixelEffectsWave.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <cstring>

#include "engine/PixelEffectsKernel.h"
#include "engine/PixelWords.h"
#include "engine/Rounding.h"

// The plain code is compiled once, however many targets include this file.
#ifndef QUILLON_PIXELEFFECTS_WAVE_PLAIN
#define QUILLON_PIXELEFFECTS_WAVE_PLAIN
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

}  // namespace
}  // namespace quillon::pixeleffects
#endif

HWY_BEFORE_NAMESPACE();
namespace quillon::pixeleffects::HWY_NAMESPACE {
namespace {
namespace hn = hwy::HWY_NAMESPACE;

void copyColourBytes(const std::uint8_t* source, std::uint8_t* target, std::int32_t width) {
    const hn::ScalableTag<std::uint32_t> d;
    const auto colour = hn::Set(d, kColourBytes);
    const std::size_t n = hn::Lanes(d), count = std::size_t(width);
    std::size_t i = 0;
    for (; i + n <= count; i += n) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(source + 4 * i);
        auto* to = reinterpret_cast<std::uint32_t*>(target + 4 * i);
        hn::StoreU(
            hn::Or(hn::And(hn::LoadU(d, from), colour), hn::AndNot(colour, hn::LoadU(d, to))), d,
            to);
    }
    for (; i < count; ++i) storeKeepingReserved(target + 4 * i, loadPixel(source + 4 * i));
}

}  // namespace

void waveRows(const PlaneView& planes, const void* table) {
    for (std::int32_t y = 1; y <= planes.height; ++y) {
        const std::int32_t sy = sourceRow(tableValue(table, y), planes.height);
        copyColourBytes(planes.sourceRow(sy), planes.targetRow(y), planes.width);
    }
}

}  // namespace quillon::pixeleffects::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quillon::pixeleffects {

HWY_EXPORT(waveRows);

void wave(const PlaneView& planes, const void* table) {
    HWY_DYNAMIC_DISPATCH(waveRows)(planes, table);
}

}  // namespace quillon::pixeleffects
#endif
