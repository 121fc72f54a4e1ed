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
using Wide = hn::Repartition<std::int16_t, Bytes>;    // one byte of each pair, widened
using ByteVector = hn::Vec<Bytes>;
using WideVector = hn::Vec<Wide>;

// Colour X's bytes for every pixel of a vector; the reserved bytes get 0.
ByteVector colourBytes(std::uint32_t colour) {
    std::array<std::uint8_t, HWY_MAX_BYTES> bytes;
    const std::uint32_t word = colourAsPixel(colour) & kColourBytes;
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = channelOf(word, int(i % 4));
    return hn::LoadU(Bytes(), bytes.data());
}

// The even (blue and red) or the odd (green and reserved) bytes of a vector, each widened in
// place to the 16-bit lane it starts: masking and shifting, no shuffle.
WideVector widened(ByteVector bytes, bool odd) {
    const auto pairs = hn::BitCast(Pairs(), bytes);
    return hn::BitCast(Wide(),
                       odd ? hn::ShiftRight<8>(pairs) : hn::And(pairs, hn::Set(Pairs(), 0xFF)));
}

// The blocks around a vector of neighbouring pixels, the even or the odd bytes widened:
// s(dx, dy) is the neighbour (x + dx, y + dy).
struct WideBlock {
    const RowSpan& rows;
    std::size_t at;
    bool odd;

    WideVector operator()(int dx, int dy) const {
        const std::uint8_t* row = dy < 0 ? rows.below : (dy > 0 ? rows.above : rows.middle);
        return widened(hn::LoadU(Bytes(), row + at + 4 * dx), odd);
    }
};

// A filter on 16-bit lanes, run on the even and on the odd bytes of a vector of pixels,
// each result clamped to 0..255 and the two put back together byte by byte.
template <typename Filter>
struct Widened {
    explicit Widened(std::uint32_t colour)
        : evenX(widened(colourBytes(colour), false)), oddX(widened(colourBytes(colour), true)) {}
    WideVector evenX, oddX;  // colour X

    ByteVector operator()(const RowSpan& row, std::size_t at) const {
        const auto even = hn::BitCast(Pairs(), clamped(Filter()(WideBlock{row, at, false}, evenX)));
        const auto odd = hn::BitCast(Pairs(), clamped(Filter()(WideBlock{row, at, true}, oddX)));
        return hn::BitCast(Bytes(), hn::Or(even, hn::ShiftLeft<8>(odd)));
    }

    static WideVector clamped(WideVector v) {
        const Wide d;
        return hn::Min(hn::Max(v, hn::Zero(d)), hn::Set(d, 255));
    }
};

// v = 8·S − (sum of the eight neighbours) + X.
struct WideEdge {
    WideVector operator()(const WideBlock& s, WideVector x) const {
        const auto below = hn::Add(hn::Add(s(-1, -1), s(0, -1)), s(1, -1));
        const auto above = hn::Add(hn::Add(s(-1, 1), s(0, 1)), s(1, 1));
        const auto sides = hn::Add(s(-1, 0), s(1, 0));
        const auto neighbours = hn::Add(hn::Add(below, above), sides);
        return hn::Add(hn::Sub(hn::ShiftLeft<3>(s(0, 0)), neighbours), x);
    }
};

// v = ⌊(S + g) / 2⌋ + 50, colour X where v passes 255.
struct WideEmboss {
    WideVector operator()(const WideBlock& s, WideVector x) const {
        const Wide d;
        const auto rise = hn::Add(hn::Add(s(0, 1), s(1, 0)), hn::ShiftLeft<1>(s(1, 1)));
        const auto fall = hn::Add(hn::Add(s(-1, 0), s(0, -1)), hn::ShiftLeft<1>(s(-1, -1)));
        const auto sum = hn::Sub(hn::Add(s(0, 0), rise), fall);
        // The arithmetic shift halves toward minus infinity.
        const auto v = hn::Add(hn::ShiftRight<1>(sum), hn::Set(d, 50));
        return hn::IfThenElse(hn::Gt(v, hn::Set(d, 255)), x, v);
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
