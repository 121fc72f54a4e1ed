// The filters that look at the 3 x 3 block around a pixel: edge filter, diagonal
// difference relief and embossed relief. Each works on blue, green and red separately
// and leaves the reserved byte of the working plane as it was; the outer ring of the
// plane, where the block would reach past the picture, is not written.
//
// Each filter is written on one channel of one pixel in plain integers, and once on
// Highway over every byte of a run of pixels: the edge filter and the emboss in 16-bit
// lanes, wide enough for every intermediate value (-2040 to 2295 at most), the relief in
// saturating bytes. The vector rows are compiled for every target the build keeps
// (engine/CMakeLists.txt), with the plain loop for the end of each row.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/PixelEffectsNeighbourhood.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "engine/PixelEffectsKernel.h"
#include "engine/PixelWords.h"

// The plain code is compiled once, however many targets include this file.
#ifndef QUILLON_PIXELEFFECTS_NEIGHBOURHOOD_PLAIN
#define QUILLON_PIXELEFFECTS_NEIGHBOURHOOD_PLAIN
namespace quillon::pixeleffects {
namespace {

// One channel of the block around a pixel: the byte of that channel in rows y - 1,
// y and y + 1 of the undo plane, so [-4] and [4] are the left and right neighbours.
struct Block {
    const std::uint8_t* below;
    const std::uint8_t* middle;
    const std::uint8_t* above;
};

// Rows y - 1, y and y + 1 of the undo plane and row y of the working plane, each from the
// first pixel to do; `count` pixels follow it, every one with all eight neighbours.
struct RowSpan {
    const std::uint8_t* below;
    const std::uint8_t* middle;
    const std::uint8_t* above;
    std::uint8_t* target;
    std::size_t count;

    RowSpan from(std::size_t pixel) const {
        const std::size_t at = 4 * pixel;
        return {below + at, middle + at, above + at, target + at, count - pixel};
    }
};

// Colour X per byte of a pixel: blue, green, red.
std::array<int, 3> colourComponents(std::uint32_t colour) {
    const std::uint32_t word = colourAsPixel(colour);
    return {channelOf(word, 0), channelOf(word, 1), channelOf(word, 2)};
}

template <typename Filter>
void plainPixels(const Filter& filter, const RowSpan& row) {
    for (std::size_t i = 0; i < 4 * row.count; i += 4) {
        for (std::size_t c = 0; c < 3; ++c) {
            const Block block{row.below + i + c, row.middle + i + c, row.above + i + c};
            row.target[i + c] = filter(block, int(c));
        }
    }
}

// Runs `rowPass(row)` over every row of pixels that have all eight neighbours. PlaneView
// narrower or lower than three pixels have no such pixel.
template <typename RowPass>
void forEveryInnerRow(const PlaneView& planes, const RowPass& rowPass) {
    if (planes.width < 3 || planes.height < 3) return;
    const std::ptrdiff_t rowBytes = planes.rowBytes();
    const std::size_t innerPixels = std::size_t(planes.width) - 2;
    for (std::int32_t y = 2; y < planes.height; ++y) {
        const std::uint8_t* middle = planes.sourceRow(y) + 4;
        rowPass(RowSpan{middle - rowBytes, middle, middle + rowBytes, planes.targetRow(y) + 4,
                        innerPixels});
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
};

// v = |S(x, y) − S(x + 1, y + 1) − X|, at most 255.
struct DiagonalReliefFilter {
    explicit DiagonalReliefFilter(std::uint32_t colour) : x(colourComponents(colour)) {}
    std::array<int, 3> x;

    std::uint8_t operator()(const Block& s, int c) const {
        return std::uint8_t(std::min(std::abs(s.middle[0] - s.above[4] - x[c]), 255));
    }
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
};

}  // namespace
}  // namespace quillon::pixeleffects
#endif

HWY_BEFORE_NAMESPACE();
namespace quillon::pixeleffects::HWY_NAMESPACE {
namespace {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR
// Highway's one-lane fallback (the one GCC before 12.3 gets) cannot see a pixel as four
// byte lanes; there the plain loop is the whole pass.
template <typename Filter>
void filterPlanes(const PlaneView& planes, std::uint32_t colour) {
    const Filter filter(colour);
    forEveryInnerRow(planes, [&](const RowSpan& row) { plainPixels(filter, row); });
}
#else
using Bytes = hn::ScalableTag<std::uint8_t>;          // the bytes of a run of pixels
using Pairs = hn::Repartition<std::uint16_t, Bytes>;  // the same bytes two by two
using Wide = hn::Repartition<std::int16_t, Bytes>;    // half of the bytes, widened
using ByteVector = hn::Vec<Bytes>;
using WideVector = hn::Vec<Wide>;

// Colour X's bytes for every pixel of a vector; the reserved bytes get 0.
ByteVector colourBytes(std::uint32_t colour) {
    std::array<std::uint8_t, HWY_MAX_BYTES> bytes;
    const std::uint32_t word = colourAsPixel(colour) & kColourBytes;
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = channelOf(word, int(i % 4));
    return hn::LoadU(Bytes(), bytes.data());
}

#if HWY_TARGET == HWY_AVX2 || HWY_TARGET == HWY_SSSE3
// On x86 the filters weigh the bytes two vectors at a time: the bytes of a and b
// interleaved, each multiplied by a signed byte weight and the two products summed into a
// 16-bit lane, one instruction with the widening in it. Interleaving takes the lower or the
// upper half of every 128-bit block; the saturating pack that joins the halves is the clamp
// to 0..255 and puts every byte back in place.
struct Half {
    bool upper;

    WideVector widened(ByteVector bytes) const { return weigh(bytes, hn::Zero(Bytes()), 1, 0); }

    // a·wa + b·wb byte by byte; no sum here can reach the limits of a 16-bit lane.
    WideVector weigh(ByteVector a, ByteVector b, std::int8_t wa, std::int8_t wb) const {
        const Bytes d;
        const ByteVector pairs =
            upper ? hn::InterleaveUpper(d, a, b) : hn::InterleaveLower(d, a, b);
        const auto weights = hn::BitCast(
            d, hn::Set(Pairs(), std::uint16_t(std::uint8_t(wa) | std::uint8_t(wb) << 8)));
#if HWY_TARGET == HWY_AVX2
        return WideVector{_mm256_maddubs_epi16(pairs.raw, weights.raw)};
#else
        return WideVector{_mm_maddubs_epi16(pairs.raw, weights.raw)};
#endif
    }

    static ByteVector joined(WideVector lower, WideVector upper) {
#if HWY_TARGET == HWY_AVX2
        return ByteVector{_mm256_packus_epi16(lower.raw, upper.raw)};
#else
        return ByteVector{_mm_packus_epi16(lower.raw, upper.raw)};
#endif
    }
};
#else
// Elsewhere the even bytes (blue and red) or the odd ones (green and reserved) are widened in
// place to the 16-bit lane each starts, by masking and shifting; clamped to 0..255, the two
// halves are put back together byte by byte.
struct Half {
    bool upper;  // the odd bytes

    WideVector widened(ByteVector bytes) const {
        const auto pairs = hn::BitCast(Pairs(), bytes);
        return hn::BitCast(
            Wide(), upper ? hn::ShiftRight<8>(pairs) : hn::And(pairs, hn::Set(Pairs(), 0xFF)));
    }

    WideVector weigh(ByteVector a, ByteVector b, std::int8_t wa, std::int8_t wb) const {
        const Wide d;
        return hn::Add(hn::Mul(widened(a), hn::Set(d, wa)), hn::Mul(widened(b), hn::Set(d, wb)));
    }

    static ByteVector joined(WideVector even, WideVector odd) {
        const Wide d;
        const auto clamp = [&](WideVector v) {
            return hn::BitCast(Pairs(), hn::Min(hn::Max(v, hn::Zero(d)), hn::Set(d, 255)));
        };
        return hn::BitCast(Bytes(), hn::Or(clamp(even), hn::ShiftLeft<8>(clamp(odd))));
    }
};
#endif

// The block around a vector of neighbouring pixels: s(dx, dy) is the bytes of neighbour
// (x + dx, y + dy), and `half` which of them the 16-bit lanes hold.
struct WideBlock {
    const RowSpan& rows;
    std::size_t at;
    Half half;

    ByteVector operator()(int dx, int dy) const {
        const std::uint8_t* row = dy < 0 ? rows.below : (dy > 0 ? rows.above : rows.middle);
        return hn::LoadU(Bytes(), row + at + 4 * dx);
    }

    WideVector weigh(ByteVector a, ByteVector b, std::int8_t wa, std::int8_t wb) const {
        return half.weigh(a, b, wa, wb);
    }
};

// A filter on 16-bit lanes, run on both halves of a vector of pixels.
template <typename Filter>
struct Widened {
    explicit Widened(std::uint32_t colour) : filter{colourBytes(colour)} {}
    Filter filter;

    ByteVector operator()(const RowSpan& row, std::size_t at) const {
        return Half::joined(filter(WideBlock{row, at, Half{false}}),
                            filter(WideBlock{row, at, Half{true}}));
    }
};

// v = 8·S + X − (sum of the eight neighbours): colour X rides with the centre pixel as the
// second of its pair. Every partial sum lies within −2040..2295.
struct WideEdge {
    ByteVector x;  // colour X

    WideVector operator()(const WideBlock& s) const {
        const auto centre = s.weigh(s(0, 0), x, 8, 1);
        const auto below = s.weigh(s(-1, -1), s(0, -1), -1, -1);
        const auto corner = s.weigh(s(1, -1), s(-1, 0), -1, -1);
        const auto side = s.weigh(s(1, 0), s(-1, 1), -1, -1);
        const auto above = s.weigh(s(0, 1), s(1, 1), -1, -1);
        return hn::Add(hn::Add(centre, hn::Add(below, corner)), hn::Add(side, above));
    }
};

// v = ⌊(S + g) / 2⌋ + 50 = ⌊(S + 100 + g) / 2⌋ with the relief gradient
// g = (S(x, y+1) − S(x, y−1)) + (S(x+1, y) − S(x−1, y)) + 2·(S(x+1, y+1) − S(x−1, y−1)),
// colour X where v passes 255. The 100 rides with the centre pixel as the second of its pair.
struct WideEmboss {
    ByteVector x;  // colour X

    WideVector operator()(const WideBlock& s) const {
        const Wide d;
        const auto centre = s.weigh(s(0, 0), hn::Set(Bytes(), 100), 1, 1);
        const auto vertical = s.weigh(s(0, 1), s(0, -1), 1, -1);
        const auto across = s.weigh(s(1, 0), s(-1, 0), 1, -1);
        const auto diagonal = s.weigh(s(1, 1), s(-1, -1), 2, -2);
        // The arithmetic shift halves toward minus infinity.
        const auto sum = hn::Add(hn::Add(centre, vertical), hn::Add(across, diagonal));
        const auto v = hn::ShiftRight<1>(sum);
        return hn::IfThenElse(hn::Gt(v, hn::Set(d, 255)), s.half.widened(x), v);
    }
};

// min(|a − b − x|, 255) byte by byte, without widening. With s = b + x:
//   when s passes 255, a − s < 0 and the value is s − a = (b − a) + x or x − (a − b),
//     whichever of b − a and a − b is not negative;
//   when s fits a byte, it is s − a or a − s.
// Saturating bytes give each case and are zero in the others:
//   adds(subs(b, a), subs(x, subs(a, b))) is s − a whenever s ≥ a, else 0, and
//   subs(a, adds(b, x)) is a − s whenever s < a, else 0.
struct ByteDiagonalRelief {
    explicit ByteDiagonalRelief(std::uint32_t colour) : x(colourBytes(colour)) {}
    ByteVector x;

    ByteVector operator()(const RowSpan& row, std::size_t at) const {
        const auto a = hn::LoadU(Bytes(), row.middle + at);
        const auto b = hn::LoadU(Bytes(), row.above + at + 4);
        const auto atLeastA =
            hn::SaturatedAdd(hn::SaturatedSub(b, a), hn::SaturatedSub(x, hn::SaturatedSub(a, b)));
        return hn::SaturatedAdd(atLeastA, hn::SaturatedSub(a, hn::SaturatedAdd(b, x)));
    }
};

// Whole vectors of pixels from the start of the row, the reserved bytes kept as the working
// plane has them, then the plain loop for the end. The filter and the row come by value: as
// references they could alias the stores and be read again every step.
template <typename Filter, typename VectorFilter>
void filterRow(const Filter& filter, const VectorFilter vectorFilter, const RowSpan row) {
    const Bytes d;
    const std::size_t n = hn::Lanes(d) / 4;
    const auto reserved = hn::Eq(hn::And(hn::Iota(d, 0), hn::Set(d, 3)), hn::Set(d, 3));
    std::size_t i = 0;
    for (; i + n <= row.count; i += n) {
        std::uint8_t* target = row.target + 4 * i;
        const ByteVector fresh = vectorFilter(row, 4 * i);
        hn::StoreU(hn::IfThenElse(reserved, hn::LoadU(d, target), fresh), d, target);
    }
    plainPixels(filter, row.from(i));
}

template <typename Filter, typename VectorFilter>
void filterPlanes(const PlaneView& planes, std::uint32_t colour) {
    const Filter filter(colour);
    const VectorFilter vectorFilter(colour);
    forEveryInnerRow(planes, [&](const RowSpan& row) { filterRow(filter, vectorFilter, row); });
}
#endif

}  // namespace

#if HWY_TARGET == HWY_SCALAR
void edgePlanes(const PlaneView& planes, std::uint32_t colour) {
    filterPlanes<EdgeFilter>(planes, colour);
}
void diagonalReliefPlanes(const PlaneView& planes, std::uint32_t colour) {
    filterPlanes<DiagonalReliefFilter>(planes, colour);
}
void embossPlanes(const PlaneView& planes, std::uint32_t colour) {
    filterPlanes<EmbossFilter>(planes, colour);
}
#else
void edgePlanes(const PlaneView& planes, std::uint32_t colour) {
    filterPlanes<EdgeFilter, Widened<WideEdge> >(planes, colour);
}
void diagonalReliefPlanes(const PlaneView& planes, std::uint32_t colour) {
    filterPlanes<DiagonalReliefFilter, ByteDiagonalRelief>(planes, colour);
}
void embossPlanes(const PlaneView& planes, std::uint32_t colour) {
    filterPlanes<EmbossFilter, Widened<WideEmboss> >(planes, colour);
}
#endif

}  // namespace quillon::pixeleffects::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quillon::pixeleffects {

HWY_EXPORT(edgePlanes);
HWY_EXPORT(diagonalReliefPlanes);
HWY_EXPORT(embossPlanes);

void edgeFilter(const PlaneView& planes, std::uint32_t colour) {
    HWY_DYNAMIC_DISPATCH(edgePlanes)(planes, colour);
}

void diagonalRelief(const PlaneView& planes, std::uint32_t colour) {
    HWY_DYNAMIC_DISPATCH(diagonalReliefPlanes)(planes, colour);
}

void emboss(const PlaneView& planes, std::uint32_t colour) {
    HWY_DYNAMIC_DISPATCH(embossPlanes)(planes, colour);
}

}  // namespace quillon::pixeleffects
#endif
