// The packed palette steps, one byte operation on every byte of a run. The vector loop is
// written once on Highway and compiled for every target the build keeps (engine/CMakeLists.txt);
// the plain byte loop does the end of the run and is also the reference the vector loops are held
// to.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/PalEffectsPacked.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/PalEffectsPasses.h"
#include "engine/SimdRuns.h"

// The plain code is compiled once, however many targets include this file.
#ifndef QUILLON_PALEFFECTS_PACKED_PLAIN
#define QUILLON_PALEFFECTS_PACKED_PLAIN
namespace quillon::paleffects {
namespace {

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

// Chosen once per call, so the loops themselves carry no branch on the operation.
template <template <ByteOp> class Pass>
auto passFor(ByteOp op) {
    switch (op) {
        case ByteOp::SaturatingAdd:
            return Pass<ByteOp::SaturatingAdd>::run;
        case ByteOp::SaturatingSubtract:
            return Pass<ByteOp::SaturatingSubtract>::run;
        case ByteOp::WrappingAdd:
            return Pass<ByteOp::WrappingAdd>::run;
        case ByteOp::WrappingSubtract:
            return Pass<ByteOp::WrappingSubtract>::run;
        case ByteOp::SubtractFromPattern:
            break;
    }
    return Pass<ByteOp::SubtractFromPattern>::run;
}

template <ByteOp Op>
struct PlainPass {
    static void run(std::uint8_t* pixels, std::size_t count, std::uint32_t pattern) {
        combinePixels<Op>(pixels, count, pattern);
    }
};

}  // namespace
}  // namespace quillon::paleffects
#endif

HWY_BEFORE_NAMESPACE();
namespace quillon::paleffects::HWY_NAMESPACE {
namespace {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR
}  // namespace

// Highway's one-lane fallback (the one GCC before 12.3 gets) cannot see a pixel as four
// byte lanes; there the plain loop is the whole pass.
void applyPackedRun(std::uint8_t* pixels, std::size_t count, PackedStep step) {
    passFor<PlainPass>(step.op)(pixels, count, step.pattern);
}
#else
template <ByteOp Op, class V>
V combine(V p, V q) {
    if constexpr (Op == ByteOp::SaturatingAdd) {
        return hn::SaturatedAdd(p, q);
    } else if constexpr (Op == ByteOp::SaturatingSubtract) {
        return hn::SaturatedSub(p, q);
    } else if constexpr (Op == ByteOp::WrappingAdd) {
        return hn::Add(p, q);
    } else if constexpr (Op == ByteOp::WrappingSubtract) {
        return hn::Sub(p, q);
    } else {
        return hn::Sub(q, p);
    }
}

// The plain loop up to the first vector boundary, four vectors per step while they last,
// then single vectors, then the plain loop again.
template <ByteOp Op>
struct VectorPass {
    static void run(std::uint8_t* pixels, std::size_t count, std::uint32_t pattern) {
        const hn::ScalableTag<std::uint8_t> d;
        const hn::Repartition<std::uint32_t, decltype(d)> dPixels;
        const auto q = hn::BitCast(d, hn::Set(dPixels, pattern));
        const std::size_t n = hn::Lanes(dPixels), bytes = hn::Lanes(d);
        std::size_t i = simd::pixelsBeforeBoundary(pixels, count, bytes);
        combinePixels<Op>(pixels, i, pattern);
        for (; i + 4 * n <= count; i += 4 * n) {
            std::uint8_t* at = pixels + 4 * i;
            const auto a = hn::LoadU(d, at), b = hn::LoadU(d, at + bytes);
            const auto c = hn::LoadU(d, at + 2 * bytes), e = hn::LoadU(d, at + 3 * bytes);
            hn::StoreU(combine<Op>(a, q), d, at);
            hn::StoreU(combine<Op>(b, q), d, at + bytes);
            hn::StoreU(combine<Op>(c, q), d, at + 2 * bytes);
            hn::StoreU(combine<Op>(e, q), d, at + 3 * bytes);
        }
        for (; i + n <= count; i += n) {
            std::uint8_t* at = pixels + 4 * i;
            hn::StoreU(combine<Op>(hn::LoadU(d, at), q), d, at);
        }
        combinePixels<Op>(pixels + 4 * i, count - i, pattern);
    }
};

}  // namespace

void applyPackedRun(std::uint8_t* pixels, std::size_t count, PackedStep step) {
    passFor<VectorPass>(step.op)(pixels, count, step.pattern);
}
#endif

}  // namespace quillon::paleffects::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
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

HWY_EXPORT(applyPackedRun);

void applyPacked(std::uint8_t* pixels, std::size_t count, PackedStep step) {
    HWY_DYNAMIC_DISPATCH(applyPackedRun)(pixels, count, step);
}

void applyPackedScalar(std::uint8_t* pixels, std::size_t count, PackedStep step) {
    passFor<PlainPass>(step.op)(pixels, count, step.pattern);
}

}  // namespace quillon::paleffects
#endif
