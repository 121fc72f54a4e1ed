// The palette passes eight pixels at a time in 256-bit AVX2 registers. This file is
// compiled with -mavx2 and entered only on processors that have AVX2 (SimdDispatch.h);
// it includes nothing whose inline functions the baseline files share, so no AVX2 code
// can stand in for theirs. Each pass does whole vectors from the start of its run and
// returns how many pixels that was; the caller does the rest.

#include "engine/PalEffectsPasses.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace quillon::paleffects::avx2 {
namespace {

using Vector = __m256i;

Vector load(const std::uint8_t* at) {
    return _mm256_loadu_si256(reinterpret_cast<const Vector*>(at));
}

void store(std::uint8_t* at, Vector value) {
    _mm256_storeu_si256(reinterpret_cast<Vector*>(at), value);
}

template <ByteOp Op>
Vector combine(Vector p, Vector q) {
    if constexpr (Op == ByteOp::SaturatingAdd) {
        return _mm256_adds_epu8(p, q);
    } else if constexpr (Op == ByteOp::SaturatingSubtract) {
        return _mm256_subs_epu8(p, q);
    } else if constexpr (Op == ByteOp::WrappingAdd) {
        return _mm256_add_epi8(p, q);
    } else if constexpr (Op == ByteOp::WrappingSubtract) {
        return _mm256_sub_epi8(p, q);
    } else {
        return _mm256_sub_epi8(q, p);
    }
}

// Four vectors (32 pixels, two cache lines) per step while they last, then single ones.
template <ByteOp Op>
std::size_t combineAll(std::uint8_t* pixels, std::size_t count, std::uint32_t pattern) {
    const Vector q = _mm256_set1_epi32(int(pattern));
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        std::uint8_t* at = pixels + 4 * i;
        const Vector a = load(at), b = load(at + 32), c = load(at + 64), d = load(at + 96);
        store(at, combine<Op>(a, q));
        store(at + 32, combine<Op>(b, q));
        store(at + 64, combine<Op>(c, q));
        store(at + 96, combine<Op>(d, q));
    }
    for (; i + 8 <= count; i += 8) store(pixels + 4 * i, combine<Op>(load(pixels + 4 * i), q));
    return i;
}

// The reserved byte of every pixel, and blue, green and red.
Vector reservedBytes() {
    return _mm256_set1_epi32(int(0xFF000000u));
}
Vector colourBytes() {
    return _mm256_set1_epi32(0x00FFFFFF);
}

// (b + g + r) / 3 in the low byte of every pixel's 32-bit lane. The pairs are summed by
// multiply-adds with the weights 1, 1, 1, 0; the division is the multiply by 0xAAAB and
// the shift by 17, exact for every sum up to 765.
Vector greyOf(Vector pixels) {
    const Vector pairs = _mm256_maddubs_epi16(pixels, _mm256_set1_epi32(0x00010101));
    const Vector sums = _mm256_madd_epi16(pairs, _mm256_set1_epi16(1));
    return _mm256_srli_epi32(_mm256_mulhi_epu16(sums, _mm256_set1_epi32(0xAAAB)), 1);
}

// The low byte of every lane copied into blue, green and red, over the reserved byte of
// `kept`.
Vector spreadOverColour(Vector lowBytes, Vector kept) {
    const Vector spread = _mm256_setr_epi8(0, 0, 0, -1, 4, 4, 4, -1, 8, 8, 8, -1, 12, 12, 12, -1, 0,
                                           0, 0, -1, 4, 4, 4, -1, 8, 8, 8, -1, 12, 12, 12, -1);
    return _mm256_or_si256(_mm256_shuffle_epi8(lowBytes, spread),
                           _mm256_and_si256(kept, reservedBytes()));
}

// Whole lanes of ones where blue, green and red of the pixel are all zero in `bytes`.
Vector colourAllZero(Vector bytes) {
    return _mm256_cmpeq_epi32(_mm256_and_si256(bytes, colourBytes()), _mm256_setzero_si256());
}

// Every substitution as the lanes to replace and the value (0 or 255) they get.
struct Replacement {
    Vector where;
    Vector white;  // ones where the replaced pixel becomes white, zeros for black
};

// Byte b of each lane spread over the whole lane: ones when it is 0xFF, zeros when 0.
template <int Byte>
Vector byteAsLane(Vector byteMasks) {
    return _mm256_srai_epi32(_mm256_slli_epi32(byteMasks, 24 - 8 * Byte), 31);
}

Replacement blackOrWhite(Vector p) {
    const Vector zero = _mm256_setzero_si256();
    // A byte is bright from 180 (-76 as a signed byte) up.
    const Vector bright = _mm256_cmpeq_epi8(_mm256_subs_epu8(_mm256_set1_epi8(-76), p), zero);
    const Vector red = byteAsLane<2>(bright), green = byteAsLane<1>(bright);
    const Vector blue = byteAsLane<0>(bright);
    return {_mm256_set1_epi32(-1), _mm256_or_si256(red, _mm256_andnot_si256(blue, green))};
}

Replacement replacementFor(PalEffect effect, Vector p) {
    const Vector all = _mm256_set1_epi32(-1), none = _mm256_setzero_si256();
    const Vector black = colourAllZero(p);
    const Vector white = colourAllZero(_mm256_xor_si256(p, all));
    switch (effect) {
        case PalEffect::NearBlackToBlack:  // each of blue, green, red at most 24: black
            return {colourAllZero(_mm256_subs_epu8(p, _mm256_set1_epi8(24))), none};
        case PalEffect::NearWhiteToWhite:  // each at least 249: white
            return {colourAllZero(_mm256_subs_epu8(_mm256_set1_epi8(-7), p)), all};
        case PalEffect::BlackToWhite:
            return {black, all};
        case PalEffect::WhiteToBlack:
            return {white, none};
        case PalEffect::AllButWhiteToBlack:
            return {_mm256_xor_si256(white, all), none};
        case PalEffect::AllButBlackToWhite:
            return {_mm256_xor_si256(black, all), all};
        default:
            return blackOrWhite(p);
    }
}

Vector substituted(PalEffect effect, Vector p) {
    const Replacement r = replacementFor(effect, p);
    const Vector fresh = _mm256_or_si256(_mm256_and_si256(p, reservedBytes()),
                                         _mm256_and_si256(r.white, colourBytes()));
    return _mm256_blendv_epi8(p, fresh, r.where);
}

template <PalEffect Effect>
std::size_t substituteAll(std::uint8_t* pixels, std::size_t count) {
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) store(pixels + 4 * i, substituted(Effect, load(pixels + 4 * i)));
    return i;
}

}  // namespace

std::size_t applyPacked(std::uint8_t* pixels, std::size_t count, PackedStep step) {
    switch (step.op) {
        case ByteOp::SaturatingAdd:
            return combineAll<ByteOp::SaturatingAdd>(pixels, count, step.pattern);
        case ByteOp::SaturatingSubtract:
            return combineAll<ByteOp::SaturatingSubtract>(pixels, count, step.pattern);
        case ByteOp::WrappingAdd:
            return combineAll<ByteOp::WrappingAdd>(pixels, count, step.pattern);
        case ByteOp::WrappingSubtract:
            return combineAll<ByteOp::WrappingSubtract>(pixels, count, step.pattern);
        case ByteOp::SubtractFromPattern:
            break;
    }
    return combineAll<ByteOp::SubtractFromPattern>(pixels, count, step.pattern);
}

std::size_t makeGrey(std::uint8_t* pixels, std::size_t count) {
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const Vector p = load(pixels + 4 * i);
        store(pixels + 4 * i, spreadOverColour(greyOf(p), p));
    }
    return i;
}

// Each op code gets its own loop, so the choice of rule is made once per call.
std::size_t substitute(std::uint8_t* pixels, std::size_t count, PalEffect effect) {
    switch (effect) {
        case PalEffect::NearBlackToBlack:
            return substituteAll<PalEffect::NearBlackToBlack>(pixels, count);
        case PalEffect::NearWhiteToWhite:
            return substituteAll<PalEffect::NearWhiteToWhite>(pixels, count);
        case PalEffect::BlackToWhite:
            return substituteAll<PalEffect::BlackToWhite>(pixels, count);
        case PalEffect::WhiteToBlack:
            return substituteAll<PalEffect::WhiteToBlack>(pixels, count);
        case PalEffect::AllButWhiteToBlack:
            return substituteAll<PalEffect::AllButWhiteToBlack>(pixels, count);
        case PalEffect::AllButBlackToWhite:
            return substituteAll<PalEffect::AllButBlackToWhite>(pixels, count);
        case PalEffect::BlackOrWhite:
            return substituteAll<PalEffect::BlackOrWhite>(pixels, count);
        default:
            return 0;
    }
}

}  // namespace quillon::paleffects::avx2

#else

// Builds without AVX2 code never take the AVX2 path; these leave every pixel to the caller.
namespace quillon::paleffects::avx2 {
std::size_t applyPacked(std::uint8_t*, std::size_t, PackedStep) {
    return 0;
}
std::size_t makeGrey(std::uint8_t*, std::size_t) {
    return 0;
}
std::size_t substitute(std::uint8_t*, std::size_t, std::int32_t) {
    return 0;
}
}  // namespace quillon::paleffects::avx2

#endif
