// Smoothing: the sum of the neighbours of a pixel, each byte divided by 2, 4 or 8
// first. All four bytes of a pixel are divided at once by masking off the low bits of
// every byte and shifting the whole word, so no bit moves into the byte below; the
// quotients are at most 127, 63 or 31 and their sum at most 254, 252 or 248, so the
// words add without a carry between bytes.

#include <array>

#include "engine/PixelEffectsAvx2.h"
#include "engine/PixelEffectsKernel.h"
#include "engine/PixelWords.h"
#include "engine/SimdDispatch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon::pixeleffects {
namespace {

template <int Shift>
constexpr std::uint32_t kByteMask = ((0xFFu << Shift) & 0xFFu) * 0x01010101u;

template <int Shift>
inline std::uint32_t divideBytes(std::uint32_t word) {
    return (word & kByteMask<Shift>) >> Shift;
}

// The part of the plane where every neighbour of a variant exists (1-based, inclusive).
struct Region {
    std::int32_t firstColumn, lastColumn, firstRow, lastRow;
    std::size_t columns() const { return std::size_t(lastColumn - firstColumn) + 1; }
    bool empty() const { return firstColumn > lastColumn || firstRow > lastRow; }
};

// Byte offsets from a pixel to the neighbours one variant adds.
template <std::size_t Count>
using Offsets = std::array<std::ptrdiff_t, Count>;

template <int Shift, std::size_t Count>
inline std::uint32_t neighbourSum(const std::uint8_t* pixel, const Offsets<Count>& offsets) {
    std::uint32_t sum = 0;
    for (std::ptrdiff_t offset : offsets) sum += divideBytes<Shift>(loadPixel(pixel + offset));
    return sum;
}

#if defined(__SSE2__)
template <int Shift, std::size_t Count>
inline __m128i neighbourSums(const std::uint8_t* pixel, const Offsets<Count>& offsets) {
    const __m128i mask = _mm_set1_epi32(std::int32_t(kByteMask<Shift>));
    __m128i sum = _mm_setzero_si128();
    for (std::ptrdiff_t offset : offsets) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel + offset));
        sum = _mm_add_epi32(sum, _mm_srli_epi32(_mm_and_si128(four, mask), Shift));
    }
    return sum;
}

// Four pixels per step while four remain; returns how many pixels were done.
template <int Shift, std::size_t Count>
std::size_t smoothFours(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                        const Offsets<Count>& offsets) {
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i sums = neighbourSums<Shift>(source + 4 * i, offsets);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 4 * i), sums);
    }
    return i;
}
#endif

// Which vector code a pass may use.
enum class Vectors { None, Baseline, Avx2 };

template <int Shift, std::size_t Count>
std::size_t smoothVectors(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                          const Offsets<Count>& offsets, Vectors vectors) {
    std::size_t i = 0;
    if (vectors == Vectors::Avx2) i = avx2::smooth(source, target, count, offsets.data(), Count);
#if defined(__SSE2__)
    if (vectors != Vectors::None)
        i += smoothFours<Shift>(source + 4 * i, target + 4 * i, count - i, offsets);
#endif
    return i;
}

template <int Shift, std::size_t Count>
void smoothRegion(const Planes& planes, const Region& region, const Offsets<Count>& offsets,
                  Vectors vectors) {
    if (region.empty()) return;
    const std::size_t count = region.columns();
    for (std::int32_t y = region.firstRow; y <= region.lastRow; ++y) {
        const std::size_t start = planes.rowOffset(y) + columnOffset(region.firstColumn);
        const std::uint8_t* source = planes.source + start;
        std::uint8_t* target = planes.target + start;
        std::size_t i = smoothVectors<Shift>(source, target, count, offsets, vectors);
        for (; i < count; ++i)
            storePixel(target + 4 * i, neighbourSum<Shift>(source + 4 * i, offsets));
    }
}

void smoothBy(const Planes& planes, std::int32_t amount, Vectors vectors) {
    const std::int32_t w = planes.width, h = planes.height;
    const std::ptrdiff_t left = -4, right = 4, down = -4 * std::ptrdiff_t(w), up = -down;
    const Region inner{2, w - 1, 2, h - 1};
    switch (amount) {
        case 1:
            smoothRegion<1>(planes, Region{2, w - 1, 1, h}, Offsets<2>{left, right}, vectors);
            break;
        case 2:
            smoothRegion<1>(planes, Region{1, w, 2, h - 1}, Offsets<2>{down, up}, vectors);
            break;
        case 4:
            smoothRegion<2>(planes, inner,
                            Offsets<4>{down + left, down + right, up + left, up + right}, vectors);
            break;
        case 8:
            smoothRegion<3>(
                planes, inner,
                Offsets<8>{down + left, down, down + right, left, right, up + left, up, up + right},
                vectors);
            break;
        default:  // no other neighbourhood exists: nothing is written
            break;
    }
}

}  // namespace

void smooth(const Planes& planes, std::int32_t amount) {
    smoothBy(planes, amount, simd::useAvx2() ? Vectors::Avx2 : Vectors::Baseline);
}

void smoothPlain(const Planes& planes, std::int32_t amount) {
    smoothBy(planes, amount, Vectors::None);
}

}  // namespace quillon::pixeleffects
