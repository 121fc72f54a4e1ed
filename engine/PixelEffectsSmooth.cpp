// Smoothing: the sum of the neighbours of a pixel, each byte divided by 2, 4 or 8
// first. All four bytes of a pixel are divided at once by masking off the low bits of
// every byte and shifting the whole word, so no bit moves into the byte below; the
// quotients are at most 127, 63 or 31 and their sum at most 254, 252 or 248, so the
// words add without a carry between bytes. The vector rows do the same to one pixel per
// 32-bit lane; they are written once on Highway and compiled for every target the build
// keeps (engine/CMakeLists.txt), with the plain loop for the end of each row.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/PixelEffectsSmooth.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <array>

#include "engine/PixelEffectsKernel.h"
#include "engine/PixelWords.h"

// The plain code is compiled once, however many targets include this file.
#ifndef QUILLON_PIXELEFFECTS_SMOOTH_PLAIN
#define QUILLON_PIXELEFFECTS_SMOOTH_PLAIN
namespace quillon::pixeleffects {
namespace {

template <int Shift>
constexpr std::uint32_t kByteMask = ((0xFFu << Shift) & 0xFFu) * 0x01010101u;

// Byte offsets from a pixel to the neighbours one variant adds.
template <std::size_t Count>
using Offsets = std::array<std::ptrdiff_t, Count>;

// `count` pixels of one row from `source` into `target`, the plain way.
template <int Shift, std::size_t Count>
void smoothPixels(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                  const Offsets<Count>& offsets) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t sum = 0;
        for (std::ptrdiff_t offset : offsets)
            sum += (loadPixel(source + 4 * i + offset) & kByteMask<Shift>) >> Shift;
        storePixel(target + 4 * i, sum);
    }
}

// The part of the plane where every neighbour of a variant exists (1-based, inclusive).
struct Region {
    std::int32_t firstColumn, lastColumn, firstRow, lastRow;
    std::size_t columns() const { return std::size_t(lastColumn - firstColumn) + 1; }
    bool empty() const { return firstColumn > lastColumn || firstRow > lastRow; }
};

// Runs `Row<Shift, Count>::run(source, target, count, offsets)` over every row of the
// region of each amount.
template <template <int, std::size_t> class Row>
struct SmoothRegions {
    template <int Shift, std::size_t Count>
    static void region(const PlaneView& planes, const Region& region,
                       const Offsets<Count>& offsets) {
        if (region.empty()) return;
        for (std::int32_t y = region.firstRow; y <= region.lastRow; ++y) {
            const std::size_t start = planes.rowOffset(y) + columnOffset(region.firstColumn);
            Row<Shift, Count>::run(planes.source + start, planes.target + start, region.columns(),
                                   offsets);
        }
    }

    static void by(const PlaneView& planes, std::int32_t amount) {
        const std::int32_t w = planes.width, h = planes.height;
        const std::ptrdiff_t left = -4, right = 4, down = -4 * std::ptrdiff_t(w), up = -down;
        const Region inner{2, w - 1, 2, h - 1};
        switch (amount) {
            case 1:
                return region<1>(planes, Region{2, w - 1, 1, h}, Offsets<2>{left, right});
            case 2:
                return region<1>(planes, Region{1, w, 2, h - 1}, Offsets<2>{down, up});
            case 4:
                return region<2>(planes, inner,
                                 Offsets<4>{down + left, down + right, up + left, up + right});
            case 8:
                return region<3>(planes, inner,
                                 Offsets<8>{down + left, down, down + right, left, right, up + left,
                                            up, up + right});
            default:  // no other neighbourhood exists: nothing is written
                return;
        }
    }
};

template <int Shift, std::size_t Count>
struct PlainRow {
    static void run(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                    const Offsets<Count>& offsets) {
        smoothPixels<Shift>(source, target, count, offsets);
    }
};

}  // namespace
}  // namespace quillon::pixeleffects
#endif

HWY_BEFORE_NAMESPACE();
namespace quillon::pixeleffects::HWY_NAMESPACE {
namespace {
namespace hn = hwy::HWY_NAMESPACE;

// Highway loads and stores through these without ever dereferencing them, so a plane only
// 4-byte aligned, or not even that, is read and written as it is.
const std::uint32_t* words(const std::uint8_t* at) {
    return reinterpret_cast<const std::uint32_t*>(at);
}
std::uint32_t* words(std::uint8_t* at) {
    return reinterpret_cast<std::uint32_t*>(at);
}

// Whole vectors of pixels from the start of the row, then the plain loop for the end. The
// offsets come by value: a reference could alias the stores and be read again every step.
template <int Shift, std::size_t Count>
struct VectorRow {
    static void run(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                    const Offsets<Count> offsets) {
        const hn::ScalableTag<std::uint32_t> dPixels;
        const auto mask = hn::Set(dPixels, kByteMask<Shift>);
        const std::size_t n = hn::Lanes(dPixels);
        std::size_t i = 0;
        for (; i + n <= count; i += n) {
            auto sum = hn::Zero(dPixels);
            for (std::ptrdiff_t offset : offsets) {
                const auto pixels = hn::LoadU(dPixels, words(source + 4 * i + offset));
                sum = hn::Add(sum, hn::ShiftRight<Shift>(hn::And(pixels, mask)));
            }
            hn::StoreU(sum, dPixels, words(target + 4 * i));
        }
        smoothPixels<Shift>(source + 4 * i, target + 4 * i, count - i, offsets);
    }
};

}  // namespace

void smoothPlanes(const PlaneView& planes, std::int32_t amount) {
    SmoothRegions<VectorRow>::by(planes, amount);
}

}  // namespace quillon::pixeleffects::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quillon::pixeleffects {

HWY_EXPORT(smoothPlanes);

void smooth(const PlaneView& planes, std::int32_t amount) {
    HWY_DYNAMIC_DISPATCH(smoothPlanes)(planes, amount);
}

void smoothPlain(const PlaneView& planes, std::int32_t amount) {
    SmoothRegions<PlainRow>::by(planes, amount);
}

}  // namespace quillon::pixeleffects
#endif
