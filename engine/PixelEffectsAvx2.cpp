// The pixel effects eight pixels at a time in 256-bit AVX2 registers. This file is compiled
// with -mavx2 and entered only on processors that have AVX2 (SimdDispatch.h); it includes
// nothing whose inline functions the baseline files share, so no AVX2 code can stand in
// for theirs. The rules are those of PixelEffectsNeighbourhood.cpp, to the bit.

#include "engine/PixelEffectsAvx2.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace quillon::pixeleffects::avx2 {
namespace {

using Vector = __m256i;

Vector load(const std::uint8_t* at) {
    return _mm256_loadu_si256(reinterpret_cast<const Vector*>(at));
}

void store(std::uint8_t* at, Vector value) {
    _mm256_storeu_si256(reinterpret_cast<Vector*>(at), value);
}

// Blue, green and red of `fresh` stored over the reserved bytes `target` already has.
void storeColour(std::uint8_t* target, Vector fresh) {
    store(target, _mm256_blendv_epi8(load(target), fresh, _mm256_set1_epi32(0x00FFFFFF)));
}

// Colour X (0x00BBGGRR) as bytes of eight pixels: blue, green, red, 0.
Vector colourBytes(std::uint32_t colour) {
    const std::uint32_t word = (colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16;
    return _mm256_set1_epi32(int(word));
}

// The block around eight neighbouring pixels: s(dx, dy) is the bytes of neighbour
// (x + dx, y + dy). The filters weigh the neighbours two at a time: the bytes of a pair
// interleaved and multiplied by a signed byte weight each, the two products summed into a
// 16-bit lane (one multiply-add per pair and half, and no separate widening). `high` picks
// pixels 2, 3, 6 and 7 of the eight, else 0, 1, 4 and 5 (interleaving works within 128-bit
// halves, and the final pack puts the pixels back in order).
struct PairedBlock {
    const RowSpan& rows;
    std::size_t at;
    bool high;

    Vector operator()(int dx, int dy) const {
        const std::uint8_t* row = dy < 0 ? rows.below : (dy > 0 ? rows.above : rows.middle);
        return load(row + at + 4 * dx);
    }

    // a·wa + b·wb per channel, in 16-bit lanes; no pair here can reach their limits.
    Vector weigh(Vector a, Vector b, std::int8_t wa, std::int8_t wb) const {
        const Vector pairs = high ? _mm256_unpackhi_epi8(a, b) : _mm256_unpacklo_epi8(a, b);
        const Vector weights =
            _mm256_set1_epi16(std::int16_t(std::uint8_t(wa) | std::uint8_t(wb) << 8));
        return _mm256_maddubs_epi16(pairs, weights);
    }
};

// Runs a 16-bit filter over whole groups of eight pixels; the unsigned saturation of the
// final pack is the clamp to 0..255.
template <typename Filter>
std::size_t filterRow(const RowSpan& row, const Filter& filter) {
    std::size_t i = 0;
    for (; i + 8 <= row.count; i += 8) {
        const std::size_t at = 4 * i;
        const Vector low = filter(PairedBlock{row, at, false});
        const Vector high = filter(PairedBlock{row, at, true});
        storeColour(row.target + at, _mm256_packus_epi16(low, high));
    }
    return i;
}

Vector add(Vector a, Vector b) {
    return _mm256_add_epi16(a, b);
}

// v = 8·S + X − (sum of the eight neighbours): colour X rides with the centre pixel as the
// second of its pair. Every partial sum lies within −2040..2295.
struct EdgeFilter {
    Vector x;  // colour X's bytes
    Vector operator()(const PairedBlock& s) const {
        const Vector centre = s.weigh(s(0, 0), x, 8, 1);
        const Vector below = s.weigh(s(-1, -1), s(0, -1), -1, -1);
        const Vector corner = s.weigh(s(1, -1), s(-1, 0), -1, -1);
        const Vector side = s.weigh(s(1, 0), s(-1, 1), -1, -1);
        const Vector above = s.weigh(s(0, 1), s(1, 1), -1, -1);
        return add(add(centre, add(below, corner)), add(side, above));
    }
};

// v = ⌊(S + g) / 2⌋ + 50 = ⌊(S + 100 + g) / 2⌋ with the relief gradient
// g = (S(x, y+1) − S(x, y−1)) + (S(x+1, y) − S(x−1, y)) + 2·(S(x+1, y+1) − S(x−1, y−1)),
// colour X where v passes 255. The 100 rides with the centre pixel as the second of its pair.
struct EmbossFilter {
    Vector x;  // colour X in 16-bit lanes
    Vector operator()(const PairedBlock& s) const {
        const Vector centre = s.weigh(s(0, 0), _mm256_set1_epi8(100), 1, 1);
        const Vector vertical = s.weigh(s(0, 1), s(0, -1), 1, -1);
        const Vector across = s.weigh(s(1, 0), s(-1, 0), 1, -1);
        const Vector diagonal = s.weigh(s(1, 1), s(-1, -1), 2, -2);
        // The arithmetic shift halves toward minus infinity.
        const Vector v = _mm256_srai_epi16(add(add(centre, vertical), add(across, diagonal)), 1);
        const Vector over = _mm256_cmpgt_epi16(v, _mm256_set1_epi16(255));
        return _mm256_blendv_epi8(v, x, over);
    }
};

// min(|a − b − x|, 255) byte by byte, without widening. With s = b + x:
//   when s passes 255, a − s < 0 and the value is s − a = (b − a) + x or x − (a − b),
//     whichever of b − a and a − b is not negative;
//   when s fits a byte, it is s − a or a − s.
// Saturating bytes give each case and are zero in the others:
//   adds(subs(b, a), subs(x, subs(a, b))) is s − a whenever s ≥ a, else 0, and
//   subs(a, adds(b, x)) is a − s whenever s < a, else 0.
Vector diagonalDifference(Vector a, Vector b, Vector x) {
    const Vector atLeastA =
        _mm256_adds_epu8(_mm256_subs_epu8(b, a), _mm256_subs_epu8(x, _mm256_subs_epu8(a, b)));
    return _mm256_adds_epu8(atLeastA, _mm256_subs_epu8(a, _mm256_adds_epu8(b, x)));
}

}  // namespace

std::size_t edgeFilter(const RowSpan& row, std::uint32_t colour) {
    return filterRow(row, EdgeFilter{colourBytes(colour)});
}

std::size_t emboss(const RowSpan& row, std::uint32_t colour) {
    const Vector x = _mm256_unpacklo_epi8(colourBytes(colour), _mm256_setzero_si256());
    return filterRow(row, EmbossFilter{x});
}

// v = |S(x, y) − S(x + 1, y + 1) − X|, at most 255.
std::size_t diagonalRelief(const RowSpan& row, std::uint32_t colour) {
    const Vector x = colourBytes(colour);
    std::size_t i = 0;
    for (; i + 8 <= row.count; i += 8) {
        const std::size_t at = 4 * i;
        storeColour(row.target + at,
                    diagonalDifference(load(row.middle + at), load(row.above + at + 4), x));
    }
    return i;
}

}  // namespace quillon::pixeleffects::avx2

#else

// Builds without AVX2 code never take the AVX2 path; these leave every pixel to the caller.
namespace quillon::pixeleffects::avx2 {
std::size_t edgeFilter(const RowSpan&, std::uint32_t) {
    return 0;
}
std::size_t diagonalRelief(const RowSpan&, std::uint32_t) {
    return 0;
}
std::size_t emboss(const RowSpan&, std::uint32_t) {
    return 0;
}
}  // namespace quillon::pixeleffects::avx2

#endif
