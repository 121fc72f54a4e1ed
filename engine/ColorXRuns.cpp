// The colour X kernel's two row loops: the search for the next pixel of colour X and the
// painting of a whole run. The vector loops are written once on Highway and compiled for
// every target the build keeps (engine/CMakeLists.txt); the plain loops finish each row.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/ColorXRuns.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/ColorXPasses.h"

HWY_BEFORE_NAMESPACE();
namespace quillon::colorx::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Pixels are read only when the search reaches them, a vector at a time, so the caller
// may change the rest of the row between two searches.
std::int64_t findColourX(const std::uint8_t* row, std::int64_t x, std::int64_t last,
                         std::uint32_t pixelBits) {
    const hn::ScalableTag<std::uint32_t> d;
    const auto colourBits = hn::Set(d, kColourBytes), wanted = hn::Set(d, pixelBits);
    const auto n = std::int64_t(hn::Lanes(d));
    for (; last - x >= n - 1; x += n) {
        const auto* words = reinterpret_cast<const std::uint32_t*>(row + columnOffset(x));
        const auto hit =
            hn::FindFirstTrue(d, hn::Eq(hn::And(hn::LoadU(d, words), colourBits), wanted));
        if (hit >= 0) return x + hit;
    }
    for (; x <= last; ++x) {
        if ((loadPixel(row + columnOffset(x)) & kColourBytes) == pixelBits) return x;
    }
    return last + 1;
}

void paintPixels(std::uint8_t* pixels, std::int64_t count, std::uint32_t pixelBits) {
    const hn::ScalableTag<std::uint32_t> d;
    const auto reserved = hn::Set(d, ~kColourBytes), colour = hn::Set(d, pixelBits);
    const auto n = std::int64_t(hn::Lanes(d));
    std::int64_t i = 0;
    for (; i + n <= count; i += n) {
        auto* words = reinterpret_cast<std::uint32_t*>(pixels + 4 * i);
        hn::StoreU(hn::Or(hn::And(hn::LoadU(d, words), reserved), colour), d, words);
    }
    for (; i < count; ++i)
        storePixel(pixels + 4 * i, (loadPixel(pixels + 4 * i) & ~kColourBytes) | pixelBits);
}

}  // namespace quillon::colorx::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quillon::colorx {

HWY_EXPORT(findColourX);
HWY_EXPORT(paintPixels);

std::int64_t nextColourX(const std::uint8_t* row, std::int64_t x, std::int64_t last,
                         std::uint32_t pixelBits) {
    return HWY_DYNAMIC_DISPATCH(findColourX)(row, x, last, pixelBits);
}

void paintRun(std::uint8_t* pixels, std::int64_t count, std::uint32_t pixelBits) {
    HWY_DYNAMIC_DISPATCH(paintPixels)(pixels, count, pixelBits);
}

}  // namespace quillon::colorx
#endif
