// The sampling steps of magnify and rotation (BilinearSample.h, and the rounding to the
// nearest pixel) for a vector of destination pixels at once, on Highway. Included once per
// target by the files that compile for every target (foreach_target.h). Every result is
// the plain code's, to the bit; the comments say why.
//
// A vector of pixels is a vector of 32-bit words; the mapped points of as many pixels fill
// two vectors of doubles, the lower and the upper half.

#if defined(QUILLON_ENGINE_AFFINE_RESAMPLE_VECTORS_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef QUILLON_ENGINE_AFFINE_RESAMPLE_VECTORS_INL_H_
#undef QUILLON_ENGINE_AFFINE_RESAMPLE_VECTORS_INL_H_
#else
#define QUILLON_ENGINE_AFFINE_RESAMPLE_VECTORS_INL_H_
#endif

#include <hwy/highway.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/AffineResample.h"
#include "engine/PixelWords.h"

// Highway's one-lane fallback (the one GCC before 12.3 gets) has no halves to split a
// vector into; there the plain rows do all the work.
#if HWY_TARGET != HWY_SCALAR
HWY_BEFORE_NAMESPACE();
namespace quillon::resample::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D64 = hn::ScalableTag<double>;
using DWords = hn::Repartition<std::uint32_t, D64>;  // one lane per pixel
using DInts = hn::Repartition<std::int32_t, D64>;
using DFloats = hn::Repartition<float, D64>;
using DPairs = hn::Repartition<std::uint64_t, D64>;  // a pixel and its right neighbour
using DHalfInts = hn::Rebind<std::int32_t, D64>;     // the lanes of one half
using DHalfFloats = hn::Rebind<float, D64>;
using V64 = hn::Vec<D64>;
using VWords = hn::Vec<DWords>;
using VInts = hn::Vec<DInts>;
using VFloats = hn::Vec<DFloats>;
using MInts = hn::Mask<DInts>;

// Pixels per vector, and a buffer large enough for one vector of any target.
inline std::size_t pixelLanes() {
    return hn::Lanes(DWords());
}
constexpr std::size_t kMaxPixelLanes = HWY_MAX_BYTES / 4;

// Both halves, each rounded to single precision, as one vector of floats.
inline VFloats singles(V64 low, V64 high) {
    const DHalfFloats dh;
    return hn::Combine(DFloats(), hn::DemoteTo(dh, high), hn::DemoteTo(dh, low));
}

inline V64 lowerHalf(VFloats v) {
    return hn::PromoteTo(D64(), hn::LowerHalf(v));
}
inline V64 upperHalf(VFloats v) {
    return hn::PromoteTo(D64(), hn::UpperHalf(DHalfFloats(), v));
}
inline V64 lowerHalf(VInts v) {
    return hn::PromoteTo(D64(), hn::LowerHalf(v));
}
inline V64 upperHalf(VInts v) {
    return hn::PromoteTo(D64(), hn::UpperHalf(DHalfInts(), v));
}

// The terms of a row, one in every lane.
struct LineTerms {
    V64 centreX, stepX, shiftX, centreY, stepY, shiftY;
};

inline LineTerms lineTerms(const SourceLine& line) {
    const D64 d;
    return {hn::Set(d, line.centreX), hn::Set(d, line.stepX), hn::Set(d, line.shiftX),
            hn::Set(d, line.centreY), hn::Set(d, line.stepY), hn::Set(d, line.shiftY)};
}

struct Points {
    V64 x, y;
};

// The source points of the columns in `columns`, each computed as the plain
// row does (AffineResample.h).
template <bool kCrossesRows>
Points sourcePoints(const LineTerms& t, V64 columns) {
    const V64 across = hn::Sub(columns, t.centreX);
    const V64 x = hn::Add(hn::Sub(hn::Mul(across, t.stepX), t.shiftX), t.centreX);
    if (!kCrossesRows) return {x, x};
    return {x, hn::Add(hn::Add(t.shiftY, hn::Mul(across, t.stepY)), t.centreY)};
}

// Each lane to the nearest whole number, halves to even, and INT32_MIN where it is not
// finite or does not fit: the conversion roundToInt32 makes. Highway 1.0.3 converts only
// toward zero, and saturates, so the x86 targets take the instruction the plain code takes
// and the others round first and put INT32_MIN in themselves.
inline VInts roundedWholes(V64 low, V64 high) {
#if HWY_TARGET == HWY_AVX2
    return VInts{_mm256_set_m128i(_mm256_cvtpd_epi32(high.raw), _mm256_cvtpd_epi32(low.raw))};
#elif HWY_TARGET == HWY_SSSE3
    return VInts{_mm_unpacklo_epi64(_mm_cvtpd_epi32(low.raw), _mm_cvtpd_epi32(high.raw))};
#else
    const D64 d;
    const DHalfInts dh;
    const auto whole = [&](V64 v) {
        const V64 r = hn::Round(v);
        const auto fits = hn::And(r >= hn::Set(d, -0x1p31), r < hn::Set(d, 0x1p31));
        return hn::DemoteTo(dh, hn::IfThenElse(fits, r, hn::Set(d, -0x1p31)));
    };
    return hn::Combine(DInts(), whole(high), whole(low));
#endif
}

inline VInts roundedWholes(VFloats v) {
#if HWY_TARGET == HWY_AVX2
    return VInts{_mm256_cvtps_epi32(v.raw)};
#elif HWY_TARGET == HWY_SSSE3
    return VInts{_mm_cvtps_epi32(v.raw)};
#else
    const DFloats df;
    const VFloats r = hn::Round(v);
    const auto fits = hn::And(r >= hn::Set(df, -0x1p31f), r < hn::Set(df, 0x1p31f));
    return hn::ConvertTo(DInts(), hn::IfThenElse(fits, r, hn::Set(df, -0x1p31f)));
#endif
}

// Lanes where 1 <= v <= last.
inline MInts within(VInts v, std::int32_t last) {
    const DInts di;
    return hn::And(v > hn::Zero(di), hn::Set(di, last + 1) > v);
}

// Where mapped coordinates fall along an axis of `extent` pixels (below 2^23), as
// blendCellAlong finds it for one. The coordinate f is rounded to single precision; the
// lower pixel of its pair is f − 0.5 rounded, halves to even; the fraction is f minus it.
// Below 2^23 the single-precision f − 0.5 and f − lower are exact, so the steps may be
// taken in single precision; where f is larger the pair lies outside either way. The
// fraction is a multiple of 2^-23 in [0, 1] and so kept as that multiple too.
struct Cells {
    VInts lower;   // the lower pixel minus 1
    MInts inside;  // where 1 <= lower < extent; elsewhere the other members mean nothing
    VFloats fraction;
};

HWY_INLINE Cells cellsAlong(V64 low, V64 high, std::int32_t extent) {
    const DFloats df;
    const DInts di;
    const VFloats f = singles(low, high);
    const VInts lower = roundedWholes(hn::Sub(f, hn::Set(df, 0.5f)));
    const MInts inside = within(lower, extent - 1);
    return {hn::Sub(lower, hn::Set(di, 1)), inside, hn::Sub(f, hn::ConvertTo(df, lower))};
}

// A fraction as the whole number of 2^-23 it is.
inline VInts times2p23(const Cells& cells) {
    return roundedWholes(hn::Mul(cells.fraction, hn::Set(DFloats(), 0x1p23f)));
}

// Channel c (0 blue, 1 green, 2 red) of pixel words.
// One byte shuffle, which the x86 targets have (a shift and a mask cost twice as much).
template <int C>
VInts channel(VWords words) {
    const hn::Repartition<std::uint8_t, DWords> d8;
    constexpr std::uint8_t kNone = 0x80;  // a byte of zero
    alignas(16) static constexpr std::uint8_t kPick[16] = {
        C,     kNone, kNone, kNone, 4 + C,  kNone, kNone, kNone,
        8 + C, kNone, kNone, kNone, 12 + C, kNone, kNone, kNone};
    return hn::BitCast(DInts(), hn::TableLookupBytesOr0(words, hn::LoadDup128(d8, kPick)));
}

// The blend along a row, s0 + (s1 − s0)·dx, times 2^23. The plain code takes it in double
// and it is exact there: dx is a multiple of 2^-23 in [0, 1], so the product has at most
// 32 significant bits and the sum, which lies between s0 and s1, at most 31. So it is the
// same whole number in 32-bit lanes.
inline VInts alongRow(VInts s0, VInts s1, VInts dx23) {
    return hn::Add(hn::ShiftLeft<23>(s0), hn::Mul(hn::Sub(s1, s0), dx23));
}

// lower + (upper − lower)·dy for one half, rounded to a whole number k, halves to even,
// which is left in the low 32 bits of each 64-bit lane. lower, upper and their difference
// are exact in the plain code's doubles (see alongRow), so only the product and the sum
// round; scaled by 2^23 they round the same way. Adding 1.5·2^75 then rounds the scaled sum
// to a multiple of 2^23 (its last place there), halves to the even multiple, and leaves k
// as the low bits of the result: the plain code's conversion, without taking the scale off.
// A blend lies between its corners, so k is a byte already; it comes shifted to channel C.
template <int C>
hn::Vec<DPairs> acrossRows(V64 lower23, V64 rise23, V64 dy) {
    const D64 d;
    const V64 sum = hn::Add(hn::Add(lower23, hn::Mul(rise23, dy)), hn::Set(d, 0x1.8p75));
    return hn::ShiftLeft<8 * C>(hn::BitCast(DPairs(), sum));
}

// Channel C of the blends between two rows' blends along them, both halves.
template <int C>
void acrossRowsChannel(VInts lower, VInts upper, V64 dyLow, V64 dyHigh, hn::Vec<DPairs>& low,
                       hn::Vec<DPairs>& high) {
    const VInts rise = hn::Sub(upper, lower);
    low = hn::Or(low, acrossRows<C>(lowerHalf(lower), lowerHalf(rise), dyLow));
    high = hn::Or(high, acrossRows<C>(upperHalf(lower), upperHalf(rise), dyHigh));
}

// The pixel words the low halves of both halves' lanes hold, in order.
inline VWords joinedWords(hn::Vec<DPairs> low, hn::Vec<DPairs> high) {
    const DWords dw;
    return hn::ConcatEven(dw, hn::BitCast(dw, high), hn::BitCast(dw, low));
}

// Blue, green and red of `fresh` over the reserved bytes of the pixels at `target`.
// Highway loads and stores through the cast pointer without dereferencing it, so a plane
// only 4-byte aligned, or not even that, is written as it is.
inline void storeColour(std::uint8_t* target, VWords fresh) {
    const DWords dw;
    auto* at = reinterpret_cast<std::uint32_t*>(target);
    const VWords colour = hn::Set(dw, kColourBytes);
    hn::StoreU(hn::Or(hn::And(fresh, colour), hn::AndNot(colour, hn::LoadU(dw, at))), dw, at);
}

// The pixel words at `index` (pixel indices from `plane`) where `inside` is set, `outside`
// elsewhere. Highway 1.0.3 has no masked gather: on AVX2 the instruction itself skips the
// lanes outside, which costs less than reading them.
inline VWords gatherPixels(const std::uint8_t* plane, VInts index, MInts inside, VWords outside) {
    const DWords dw;
#if HWY_TARGET == HWY_AVX2
    return VWords{_mm256_mask_i32gather_epi32(outside.raw, reinterpret_cast<const int*>(plane),
                                              index.raw, hn::VecFromMask(DInts(), inside).raw, 4)};
#else
    // Elsewhere Highway gathers lane by lane through a typed pointer; copying the bytes
    // reads a plane of any alignment.
    HWY_ALIGN std::int32_t at[kMaxPixelLanes];
    HWY_ALIGN std::uint32_t words[kMaxPixelLanes];
    hn::Store(hn::IfThenElseZero(inside, index), DInts(), at);
    for (std::size_t i = 0; i < hn::Lanes(dw); ++i)
        std::memcpy(&words[i], plane + 4 * std::size_t(at[i]), 4);
    return hn::IfThenElse(hn::RebindMask(dw, inside), hn::Load(dw, words), outside);
#endif
}

// Each pixel at `index` with its right neighbour, split into the left pixels and the
// right ones. Plain 64-bit loads beat the gather instructions here.
struct PixelPairs {
    VWords left, right;
};

inline std::uint64_t pairAt(const std::uint8_t* plane, std::int32_t index) {
    std::uint64_t bits;
    std::memcpy(&bits, plane + 4 * std::size_t(index), 8);
    return bits;
}

#if HWY_TARGET == HWY_AVX2
// Built in registers, for through memory the stores would stall the load that follows; the
// pairs taken in the order 0, 1, 4, 5 and 2, 3, 6, 7, so that splitting each 128-bit block
// into left and right pixels puts them back in order.
HWY_INLINE PixelPairs loadPairs(const std::uint8_t* plane, const std::int32_t* index) {
    const auto pairs = [&](int a, int b, int c, int d) {
        return _mm256_castsi256_ps(_mm256_set_epi64x(
            std::int64_t(pairAt(plane, index[d])), std::int64_t(pairAt(plane, index[c])),
            std::int64_t(pairAt(plane, index[b])), std::int64_t(pairAt(plane, index[a]))));
    };
    const __m256 first = pairs(0, 1, 4, 5), second = pairs(2, 3, 6, 7);
    return {VWords{_mm256_castps_si256(_mm256_shuffle_ps(first, second, 0x88))},
            VWords{_mm256_castps_si256(_mm256_shuffle_ps(first, second, 0xDD))}};
}
#else
HWY_INLINE PixelPairs loadPairs(const std::uint8_t* plane, const std::int32_t* index) {
    const DPairs dp;
    const DWords dw;
    HWY_ALIGN std::uint64_t evenPairs[kMaxPixelLanes / 2], oddPairs[kMaxPixelLanes / 2];
    for (std::size_t i = 0; i < hn::Lanes(dp); ++i) {
        evenPairs[i] = pairAt(plane, index[2 * i]);
        oddPairs[i] = pairAt(plane, index[2 * i + 1]);
    }
    const auto e = hn::Load(dp, evenPairs), o = hn::Load(dp, oddPairs);
    // Even pixels' pairs fill the even lanes, odd pixels' the odd ones: back in order.
    return {hn::OddEven(hn::BitCast(dw, hn::ShiftLeft<32>(o)), hn::BitCast(dw, e)),
            hn::OddEven(hn::BitCast(dw, o), hn::BitCast(dw, hn::ShiftRight<32>(e)))};
}
#endif

// Bilinear blends of the cells whose lower left pixels are at `index` (pixel indices into
// `plane`, the upper left ones `width` further on), dx23 and dy across and up, where
// `inside` is set; the background elsewhere. Cells outside are read at pixel 0 instead,
// whose cell lies inside whenever any cell does; with no cell inside nothing is read.
HWY_INLINE VWords blendCells(const std::uint8_t* plane, std::int32_t width, VInts index,
                             MInts inside, VInts dx23, VFloats dy, VWords background) {
    const DWords dw;
    const auto insideWords = hn::RebindMask(dw, inside);
    if (hn::AllFalse(dw, insideWords)) return background;
    HWY_ALIGN std::int32_t lowerLeft[kMaxPixelLanes];
    hn::Store(hn::IfThenElseZero(inside, index), DInts(), lowerLeft);
    const PixelPairs lower = loadPairs(plane, lowerLeft);
    const PixelPairs upper = loadPairs(plane + 4 * std::ptrdiff_t(width), lowerLeft);
    const V64 dyLow = lowerHalf(dy), dyHigh = upperHalf(dy);
    auto low = hn::Zero(DPairs()), high = hn::Zero(DPairs());
    acrossRowsChannel<0>(alongRow(channel<0>(lower.left), channel<0>(lower.right), dx23),
                         alongRow(channel<0>(upper.left), channel<0>(upper.right), dx23), dyLow,
                         dyHigh, low, high);
    acrossRowsChannel<1>(alongRow(channel<1>(lower.left), channel<1>(lower.right), dx23),
                         alongRow(channel<1>(upper.left), channel<1>(upper.right), dx23), dyLow,
                         dyHigh, low, high);
    acrossRowsChannel<2>(alongRow(channel<2>(lower.left), channel<2>(lower.right), dx23),
                         alongRow(channel<2>(upper.left), channel<2>(upper.right), dx23), dyLow,
                         dyHigh, low, high);
    return hn::IfThenElse(insideWords, joinedWords(low, high), background);
}

}  // namespace quillon::resample::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();
#endif  // HWY_TARGET != HWY_SCALAR

#endif  // include guard toggled per target
