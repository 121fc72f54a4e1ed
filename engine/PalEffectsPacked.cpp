#include "engine/PalEffectsPasses.h"
#include "engine/SimdDispatch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon::paleffects {
namespace {

// Shifting the unsigned pattern loses the bits pushed past bit 31, for negative
// amounts too, without touching a sign bit.
std::uint32_t shiftedAmount(std::int32_t amount, int bits) {
    return std::uint32_t(amount) << bits;
}

// Red takes the whole amount, green and blue its low byte. For 0..255 that is the same
// step on all three channels; larger amounts spill from red into the reserved byte.
std::uint32_t allChannelsPattern(std::int32_t amount) {
    const std::uint32_t low = std::uint32_t(amount) & 0xFFu;
    return shiftedAmount(amount, 16) | (low << 8) | low;
}

template <ByteOp Op>
std::uint8_t combineByte(std::uint8_t p, std::uint8_t q) {
    if constexpr (Op == ByteOp::SaturatingAdd) {
        const auto sum = std::uint8_t(p + q);
        return sum < p ? std::uint8_t(255) : sum;  // wrapped round: saturate
    } else if constexpr (Op == ByteOp::SaturatingSubtract) {
        return std::uint8_t(p > q ? p - q : 0);
    } else if constexpr (Op == ByteOp::WrappingAdd) {
        return std::uint8_t(p + q);
    } else if constexpr (Op == ByteOp::WrappingSubtract) {
        return std::uint8_t(p - q);
    } else {
        return std::uint8_t(q - p);
    }
}

template <ByteOp Op>
void combinePixels(std::uint8_t* pixels, std::size_t count, std::uint32_t pattern) {
    const auto q0 = std::uint8_t(pattern), q1 = std::uint8_t(pattern >> 8);
    const auto q2 = std::uint8_t(pattern >> 16), q3 = std::uint8_t(pattern >> 24);
    for (std::uint8_t* pixel = pixels; pixel != pixels + 4 * count; pixel += 4) {
        pixel[0] = combineByte<Op>(pixel[0], q0);
        pixel[1] = combineByte<Op>(pixel[1], q1);
        pixel[2] = combineByte<Op>(pixel[2], q2);
        pixel[3] = combineByte<Op>(pixel[3], q3);
    }
}

#if defined(__SSE2__)
template <ByteOp Op>
__m128i combineVector(__m128i p, __m128i q) {
    if constexpr (Op == ByteOp::SaturatingAdd) {
        return _mm_adds_epu8(p, q);
    } else if constexpr (Op == ByteOp::SaturatingSubtract) {
        return _mm_subs_epu8(p, q);
    } else if constexpr (Op == ByteOp::WrappingAdd) {
        return _mm_add_epi8(p, q);
    } else if constexpr (Op == ByteOp::WrappingSubtract) {
        return _mm_sub_epi8(p, q);
    } else {
        return _mm_sub_epi8(q, p);
    }
}

template <ByteOp Op>
void combineVectorAt(std::uint8_t* at, __m128i q) {
    auto* lane = reinterpret_cast<__m128i*>(at);
    _mm_storeu_si128(lane, combineVector<Op>(_mm_loadu_si128(lane), q));
}

// Four pixels per vector, four vectors per step while they last, then single vectors.
// Loads and stores are unaligned: the working plane is only 4-byte aligned in general.
// Returns how many pixels were done; the rest is left for the plain loop.
template <ByteOp Op>
std::size_t combineVectors(std::uint8_t* pixels, std::size_t count, std::uint32_t pattern) {
    const __m128i q = _mm_set1_epi32(std::int32_t(pattern));
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        std::uint8_t* at = pixels + 4 * i;
        combineVectorAt<Op>(at, q);
        combineVectorAt<Op>(at + 16, q);
        combineVectorAt<Op>(at + 32, q);
        combineVectorAt<Op>(at + 48, q);
    }
    for (; i + 4 <= count; i += 4) {
        combineVectorAt<Op>(pixels + 4 * i, q);
    }
    return i;
}
#endif

template <ByteOp Op, bool UseVectors>
void packedPass(std::uint8_t* pixels, std::size_t count, std::uint32_t pattern) {
    std::size_t done = 0;
#if defined(__SSE2__)
    if constexpr (UseVectors) done = combineVectors<Op>(pixels, count, pattern);
#endif
    combinePixels<Op>(pixels + 4 * done, count - done, pattern);
}

using PackedPass = void (*)(std::uint8_t* pixels, std::size_t count, std::uint32_t pattern);

// Chosen once per call, so the loops themselves carry no branch on the operation.
template <bool UseVectors>
PackedPass packedPassFor(ByteOp op) {
    switch (op) {
        case ByteOp::SaturatingAdd:
            return packedPass<ByteOp::SaturatingAdd, UseVectors>;
        case ByteOp::SaturatingSubtract:
            return packedPass<ByteOp::SaturatingSubtract, UseVectors>;
        case ByteOp::WrappingAdd:
            return packedPass<ByteOp::WrappingAdd, UseVectors>;
        case ByteOp::WrappingSubtract:
            return packedPass<ByteOp::WrappingSubtract, UseVectors>;
        case ByteOp::SubtractFromPattern:
            break;
    }
    return packedPass<ByteOp::SubtractFromPattern, UseVectors>;
}

}  // namespace

std::optional<PackedStep> packedStepFor(PalEffect effect, std::int32_t amount) {
    switch (effect) {
        case PalEffect::RedPlus:
            return PackedStep{shiftedAmount(amount, 16), ByteOp::SaturatingAdd};
        case PalEffect::RedMinus:
            return PackedStep{shiftedAmount(amount, 16), ByteOp::SaturatingSubtract};
        case PalEffect::GreenPlus:
            return PackedStep{shiftedAmount(amount, 8), ByteOp::SaturatingAdd};
        case PalEffect::GreenMinus:
            return PackedStep{shiftedAmount(amount, 8), ByteOp::SaturatingSubtract};
        case PalEffect::BluePlus:
            return PackedStep{shiftedAmount(amount, 0), ByteOp::SaturatingAdd};
        case PalEffect::BlueMinus:
            return PackedStep{shiftedAmount(amount, 0), ByteOp::SaturatingSubtract};
        case PalEffect::Brighten:
            return PackedStep{allChannelsPattern(amount), ByteOp::SaturatingAdd};
        case PalEffect::Darken:
            return PackedStep{allChannelsPattern(amount), ByteOp::SaturatingSubtract};
        case PalEffect::RotateColoursUp:
            return PackedStep{allChannelsPattern(amount), ByteOp::WrappingAdd};
        case PalEffect::RotateColoursDown:
            return PackedStep{allChannelsPattern(amount), ByteOp::WrappingSubtract};
        case PalEffect::Negative:
            return PackedStep{0xFFFFFFFFu, ByteOp::SubtractFromPattern};
        default:
            return std::nullopt;
    }
}

void applyPacked(std::uint8_t* pixels, std::size_t count, PackedStep step) {
    const PackedPass pass = packedPassFor<true>(step.op);
    if (!simd::useAvx2()) return pass(pixels, count, step.pattern);
    splitAtWideBoundary(
        pixels, count, [&](std::uint8_t* run, std::size_t n) { pass(run, n, step.pattern); },
        [&](std::uint8_t* run, std::size_t n) { return avx2::applyPacked(run, n, step); });
}

void applyPackedScalar(std::uint8_t* pixels, std::size_t count, PackedStep step) {
    packedPassFor<false>(step.op)(pixels, count, step.pattern);
}

}  // namespace quillon::paleffects
