// The filters that look at the 3 x 3 block around a pixel: edge filter, diagonal
// difference relief and embossed relief. Each works on blue, green and red separately
// and leaves the reserved byte of the working plane as it was; the outer ring of the
// plane, where the block would reach past the picture, is not written.
//
// Each filter is written twice: on one channel of one pixel in plain integers, and on
// four pixels at once in 16-bit SSE2 lanes, wide enough for every intermediate value
// (-2040 to 2295 at most). Narrowing with unsigned saturation is the clamp to 0..255.

#include <algorithm>
#include <array>
#include <cstdlib>

#include "engine/PixelEffectsAvx2.h"
#include "engine/PixelEffectsKernel.h"
#include "engine/PixelWords.h"
#include "engine/SimdDispatch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon::pixeleffects {
namespace {

// One channel of the block around a pixel: the byte of that channel in rows y - 1,
// y and y + 1 of the undo plane, so [-4] and [4] are the left and right neighbours.
struct Block {
    const std::uint8_t* below;
    const std::uint8_t* middle;
    const std::uint8_t* above;
};

// Colour X per byte of a pixel: blue, green, red.
std::array<int, 3> colourComponents(std::uint32_t colour) {
    const std::uint32_t word = colourAsPixel(colour);
    return {channelOf(word, 0), channelOf(word, 1), channelOf(word, 2)};
}

#if defined(__SSE2__)
// The blocks around two neighbouring pixels, every byte widened to a 16-bit lane:
// s(dx, dy) is the neighbour (x + dx, y + dy); `high` picks the second two pixels of
// the four that start at the block's pointers.
struct WideBlock {
    Block rows;
    bool high;

    __m128i operator()(int dx, int dy) const {
        const std::uint8_t* row = dy < 0 ? rows.below : (dy > 0 ? rows.above : rows.middle);
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * dx));
        const __m128i zero = _mm_setzero_si128();
        return high ? _mm_unpackhi_epi8(four, zero) : _mm_unpacklo_epi8(four, zero);
    }
};

// Colour X in the lanes of two widened pixels; the reserved lanes get 0.
__m128i wideColour(const std::array<int, 3>& x) {
    const auto b = short(x[0]), g = short(x[1]), r = short(x[2]);
    return _mm_set_epi16(0, r, g, b, 0, r, g, b);
}

template <typename Filter>
inline void fourPixels(const Filter& filter, const Block& rows, std::uint8_t* target) {
    const __m128i low = filter(WideBlock{rows, false});
    const __m128i high = filter(WideBlock{rows, true});
    const __m128i colourBytes = _mm_set1_epi32(std::int32_t(kColourBytes));
    auto* lane = reinterpret_cast<__m128i*>(target);
    const __m128i kept = _mm_andnot_si128(colourBytes, _mm_loadu_si128(lane));
    const __m128i fresh = _mm_and_si128(colourBytes, _mm_packus_epi16(low, high));
    _mm_storeu_si128(lane, _mm_or_si128(kept, fresh));
}
#endif

// The same filter eight pixels at a time along a row (PixelEffectsAvx2.cpp).
using WideRow = std::size_t (*)(const avx2::RowSpan& row, std::uint32_t colour);

// Applies the filter to blue, green and red of every pixel that has all eight
// neighbours: eight pixels at a time on the AVX2 path, then four while four remain, then
// one. PlaneView narrower or lower than three pixels have no such pixel.
template <typename Filter>
void forEveryInnerPixel(const PlaneView& planes, const Filter& filter, WideRow wideRow,
                        std::uint32_t colour) {
    if (planes.width < 3 || planes.height < 3) return;
    const std::size_t rowBytes = 4 * std::size_t(planes.width);
    const std::size_t innerPixels = std::size_t(planes.width) - 2;
    if (!simd::useAvx2()) wideRow = nullptr;
    for (std::int32_t y = 2; y < planes.height; ++y) {
        const std::uint8_t* middle = planes.source + planes.rowOffset(y);
        const std::uint8_t* below = middle - rowBytes;
        const std::uint8_t* above = middle + rowBytes;
        std::uint8_t* target = planes.target + planes.rowOffset(y);
        std::size_t i = 4;
        if (wideRow != nullptr)
            i += 4 * wideRow({below + i, middle + i, above + i, target + i, innerPixels}, colour);
#if defined(__SSE2__)
        for (; i + 20 <= rowBytes; i += 16)  // the fourth pixel's right neighbour is in the row
            fourPixels(filter, Block{below + i, middle + i, above + i}, target + i);
#endif
        for (; i + 4 < rowBytes; i += 4) {
            for (int c = 0; c < 3; ++c)
                target[i + c] = filter(Block{below + i + c, middle + i + c, above + i + c}, c);
        }
    }
}

// Halving that rounds toward minus infinity: an odd negative n first steps down to
// the even number below, which then divides exactly.
inline int floorHalf(int n) {
    return (n - (n & 1)) / 2;
}

// v = 8·S − (sum of the eight neighbours) + X, clamped to 0..255.
struct EdgeFilter {
    explicit EdgeFilter(std::uint32_t colour) : x(colourComponents(colour)) {}
    std::array<int, 3> x;

    std::uint8_t operator()(const Block& s, int c) const {
        const int neighbours = s.below[-4] + s.below[0] + s.below[4] + s.middle[-4] + s.middle[4] +
                               s.above[-4] + s.above[0] + s.above[4];
        return std::uint8_t(std::clamp(8 * s.middle[0] - neighbours + x[c], 0, 255));
    }
#if defined(__SSE2__)
    __m128i wideX = wideColour(x);
    __m128i operator()(const WideBlock& s) const {
        const __m128i below = _mm_add_epi16(_mm_add_epi16(s(-1, -1), s(0, -1)), s(1, -1));
        const __m128i above = _mm_add_epi16(_mm_add_epi16(s(-1, 1), s(0, 1)), s(1, 1));
        const __m128i sides = _mm_add_epi16(s(-1, 0), s(1, 0));
        const __m128i neighbours = _mm_add_epi16(_mm_add_epi16(below, above), sides);
        const __m128i centre = _mm_slli_epi16(s(0, 0), 3);
        return _mm_add_epi16(_mm_sub_epi16(centre, neighbours), wideX);
    }
#endif
};

// v = |S(x, y) − S(x + 1, y + 1) − X|, at most 255.
struct DiagonalReliefFilter {
    explicit DiagonalReliefFilter(std::uint32_t colour) : x(colourComponents(colour)) {}
    std::array<int, 3> x;

    std::uint8_t operator()(const Block& s, int c) const {
        return std::uint8_t(std::min(std::abs(s.middle[0] - s.above[4] - x[c]), 255));
    }
#if defined(__SSE2__)
    __m128i wideX = wideColour(x);
    __m128i operator()(const WideBlock& s) const {
        const __m128i d = _mm_sub_epi16(_mm_sub_epi16(s(0, 0), s(1, 1)), wideX);
        return _mm_max_epi16(d, _mm_sub_epi16(_mm_setzero_si128(), d));
    }
#endif
};

// v = ⌊(S + g) / 2⌋ + 50 with the relief gradient g; overflow shows in colour X rather
// than white, channel by channel, and a negative v becomes 0.
struct EmbossFilter {
    explicit EmbossFilter(std::uint32_t colour) : x(colourComponents(colour)) {}
    std::array<int, 3> x;

    std::uint8_t operator()(const Block& s, int c) const {
        const int rise = s.above[0] + 2 * s.above[4] + s.middle[4];
        const int fall = s.middle[-4] + 2 * s.below[-4] + s.below[0];
        const int v = floorHalf(s.middle[0] + rise - fall) + 50;
        if (v > 255) return std::uint8_t(x[c]);
        return std::uint8_t(std::max(v, 0));
    }
#if defined(__SSE2__)
    __m128i wideX = wideColour(x);
    __m128i operator()(const WideBlock& s) const {
        const __m128i rise =
            _mm_add_epi16(_mm_add_epi16(s(0, 1), s(1, 0)), _mm_slli_epi16(s(1, 1), 1));
        const __m128i fall =
            _mm_add_epi16(_mm_add_epi16(s(-1, 0), s(0, -1)), _mm_slli_epi16(s(-1, -1), 1));
        const __m128i sum = _mm_sub_epi16(_mm_add_epi16(s(0, 0), rise), fall);
        // The arithmetic shift halves toward minus infinity.
        const __m128i v = _mm_add_epi16(_mm_srai_epi16(sum, 1), _mm_set1_epi16(50));
        const __m128i over = _mm_cmpgt_epi16(v, _mm_set1_epi16(255));
        return _mm_or_si128(_mm_and_si128(over, wideX), _mm_andnot_si128(over, v));
    }
#endif
};

}  // namespace

void edgeFilter(const PlaneView& planes, std::uint32_t colour) {
    forEveryInnerPixel(planes, EdgeFilter(colour), avx2::edgeFilter, colour);
}

void diagonalRelief(const PlaneView& planes, std::uint32_t colour) {
    forEveryInnerPixel(planes, DiagonalReliefFilter(colour), avx2::diagonalRelief, colour);
}

void emboss(const PlaneView& planes, std::uint32_t colour) {
    forEveryInnerPixel(planes, EmbossFilter(colour), avx2::emboss, colour);
}

}  // namespace quillon::pixeleffects
