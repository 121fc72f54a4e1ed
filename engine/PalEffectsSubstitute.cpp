// Grey and the black-and-white substitutions, pixel by pixel. The vector loops are written
// once on Highway, one pixel per 32-bit lane, and compiled for every target the build keeps
// (engine/CMakeLists.txt); the plain loops do the end of a run and are the reference the vector
// loops are held to.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/PalEffectsSubstitute.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/PalEffectsPasses.h"
#include "engine/SimdRuns.h"

// The plain code is compiled once, however many targets include this file.
#ifndef QUILLON_PALEFFECTS_SUBSTITUTE_PLAIN
#define QUILLON_PALEFFECTS_SUBSTITUTE_PLAIN
namespace quillon::paleffects {
namespace {

constexpr int kKeep = -1;

// Runs `rule` over every pixel. The rule sees blue, green and red and returns the
// value all three take, or kKeep. The reserved byte is never touched.
template <class Rule>
void replaceWhere(std::uint8_t* pixels, std::size_t count, Rule rule) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* pixel = pixels + 4 * i;
        const int value = rule(pixel[0], pixel[1], pixel[2]);
        if (value != kKeep) pixel[0] = pixel[1] = pixel[2] = std::uint8_t(value);
    }
}

bool isBright(std::uint8_t channel) {
    return channel >= 180;
}

// Red decides first; a pixel whose red is dark is white only when green is bright
// and blue is not.
int blackOrWhite(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return isBright(red) || (!isBright(blue) && isBright(green)) ? 255 : 0;
}

}  // namespace

void makeGreyPlain(std::uint8_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* pixel = pixels + 4 * i;
        const auto grey = std::uint8_t((pixel[0] + pixel[1] + pixel[2]) / 3);
        pixel[0] = pixel[1] = pixel[2] = grey;
    }
}

void substitutePlain(std::uint8_t* pixels, std::size_t count, PalEffect effect) {
    using B = std::uint8_t;
    switch (effect) {
        case PalEffect::NearBlackToBlack:
            return replaceWhere(pixels, count, [](B b, B g, B r) {
                return b <= 24 && g <= 24 && r <= 24 ? 0 : kKeep;
            });
        case PalEffect::NearWhiteToWhite:
            return replaceWhere(pixels, count, [](B b, B g, B r) {
                return b >= 249 && g >= 249 && r >= 249 ? 255 : kKeep;
            });
        case PalEffect::BlackToWhite:
            return replaceWhere(pixels, count, [](B b, B g, B r) {
                return b == 0 && g == 0 && r == 0 ? 255 : kKeep;
            });
        case PalEffect::WhiteToBlack:
            return replaceWhere(pixels, count, [](B b, B g, B r) {
                return b == 255 && g == 255 && r == 255 ? 0 : kKeep;
            });
        case PalEffect::AllButWhiteToBlack:
            return replaceWhere(pixels, count, [](B b, B g, B r) {
                return b == 255 && g == 255 && r == 255 ? kKeep : 0;
            });
        case PalEffect::AllButBlackToWhite:
            return replaceWhere(pixels, count, [](B b, B g, B r) {
                return b == 0 && g == 0 && r == 0 ? kKeep : 255;
            });
        case PalEffect::BlackOrWhite:
            return replaceWhere(pixels, count, blackOrWhite);
        default:
            return;
    }
}

}  // namespace quillon::paleffects
#endif

HWY_BEFORE_NAMESPACE();
namespace quillon::paleffects::HWY_NAMESPACE {
namespace {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR
}  // namespace

// Highway's one-lane fallback (the one GCC before 12.3 gets) cannot see a pixel as four
// byte lanes; there the plain loops are the whole passes.
void greyRun(std::uint8_t* pixels, std::size_t count) {
    makeGreyPlain(pixels, count);
}
void substituteRun(std::uint8_t* pixels, std::size_t count, PalEffect effect) {
    substitutePlain(pixels, count, effect);
}
#else
using Bytes = hn::ScalableTag<std::uint8_t>;
using Pixels = hn::Repartition<std::uint32_t, Bytes>;
using PixelVector = hn::Vec<Pixels>;

PixelVector colourBits() {
    return hn::Set(Pixels(), 0x00FFFFFFu);
}
PixelVector reservedBits() {
    return hn::Set(Pixels(), 0xFF000000u);
}

// Lanes whose blue, green and red are all zero in `bytes`.
auto colourAllZero(PixelVector bytes) {
    return hn::Eq(hn::And(bytes, colourBits()), hn::Zero(Pixels()));
}

// Every byte minus `floor`, stopping at zero: zero where the byte is at most `floor`.
PixelVector atMost(PixelVector p, std::uint8_t floor) {
    return hn::BitCast(Pixels(),
                       hn::SaturatedSub(hn::BitCast(Bytes(), p), hn::Set(Bytes(), floor)));
}
// `ceiling` minus every byte, stopping at zero: zero where the byte is at least `ceiling`.
PixelVector atLeast(PixelVector p, std::uint8_t ceiling) {
    return hn::BitCast(Pixels(),
                       hn::SaturatedSub(hn::Set(Bytes(), ceiling), hn::BitCast(Bytes(), p)));
}

// Blue, green and red all set to 255 (`white` all ones) or 0, the reserved byte kept.
PixelVector replaced(PixelVector p, PixelVector white) {
    return hn::Or(hn::And(p, reservedBits()), hn::And(white, colourBits()));
}

// Op code 19: bit 7 of the low byte of `rule` is red | (!blue & green), brightness taken
// byte by byte; the sign of the lane shifted up spreads it over the whole lane.
PixelVector blackOrWhite(PixelVector p) {
    const Bytes d;
    const auto bright = hn::BitCast(
        Pixels(), hn::VecFromMask(d, hn::Eq(hn::BitCast(d, atLeast(p, 180)), hn::Zero(d))));
    const auto rule =
        hn::Or(hn::ShiftRight<16>(bright), hn::AndNot(bright, hn::ShiftRight<8>(bright)));
    const hn::RebindToSigned<Pixels> dSigned;
    const auto white =
        hn::BitCast(Pixels(), hn::BroadcastSignBit(hn::ShiftLeft<24>(hn::BitCast(dSigned, rule))));
    return replaced(p, white);
}

template <PalEffect Effect>
PixelVector substituted(PixelVector p) {
    const Pixels d;
    const auto white = hn::Set(d, 0xFFFFFFFFu), black = hn::Zero(d);
    if constexpr (Effect ==
                  PalEffect::NearBlackToBlack) {  // each of blue, green, red at most 24: black
        return hn::IfThenElse(colourAllZero(atMost(p, 24)), replaced(p, black), p);
    } else if constexpr (Effect == PalEffect::NearWhiteToWhite) {  // each at least 249: white
        return hn::IfThenElse(colourAllZero(atLeast(p, 249)), replaced(p, white), p);
    } else if constexpr (Effect == PalEffect::BlackToWhite) {
        return hn::IfThenElse(colourAllZero(p), replaced(p, white), p);
    } else if constexpr (Effect == PalEffect::WhiteToBlack) {
        return hn::IfThenElse(colourAllZero(hn::Not(p)), replaced(p, black), p);
    } else if constexpr (Effect == PalEffect::AllButWhiteToBlack) {
        return hn::IfThenElse(colourAllZero(hn::Not(p)), p, replaced(p, black));
    } else if constexpr (Effect == PalEffect::AllButBlackToWhite) {
        return hn::IfThenElse(colourAllZero(p), p, replaced(p, white));
    } else {
        return blackOrWhite(p);
    }
}

// b + g + r in the low 16 bits of every lane (at most 765; what the high half holds does not
// matter to `grey`).
PixelVector colourSum(PixelVector p) {
#if HWY_TARGET == HWY_AVX2 || HWY_TARGET == HWY_SSSE3
    // x86 has the widening multiply-adds Highway does not offer: bytes weighed 1, 1, 1, 0
    // and summed in pairs, then the pairs summed into the lane, two instructions in all.
    const auto weights = hn::Set(Pixels(), 0x00010101u);
#if HWY_TARGET == HWY_AVX2
    const auto pairs = _mm256_maddubs_epi16(p.raw, weights.raw);
    return PixelVector{_mm256_madd_epi16(pairs, _mm256_set1_epi16(1))};
#else
    const auto pairs = _mm_maddubs_epi16(p.raw, weights.raw);
    return PixelVector{_mm_madd_epi16(pairs, _mm_set1_epi16(1))};
#endif
#else
    // Blue plus green in the low 16 bits of the lane and red in the high ones, then the high
    // half added to the low.
    const Pixels d;
    const auto blueAndRed = hn::And(p, hn::Set(d, 0x00FF00FFu));
    const auto pairs = hn::Add(blueAndRed, hn::And(hn::ShiftRight<8>(p), hn::Set(d, 0xFFu)));
    return hn::Add(pairs, hn::ShiftRight<16>(pairs));
#endif
}

// (b + g + r) / 3 spread over blue, green and red. The division is the high half of the
// sum's product with 0xAAAB shifted by one, exact for every sum up to 765 (a 16-bit
// multiply, far cheaper than a 32-bit one); a byte shuffle copies the low byte, the mean,
// into blue, green and red and clears the reserved byte, so what the high halves hold never
// matters.
PixelVector grey(PixelVector p) {
    const Pixels d;
    const Bytes dBytes;
    const hn::Repartition<std::uint16_t, Pixels> dHalves;
    const auto mean = hn::ShiftRight<1>(
        hn::MulHigh(hn::BitCast(dHalves, colourSum(p)), hn::Set(dHalves, 0xAAAB)));
    alignas(16) static constexpr std::uint8_t kSpread[16] = {0, 0, 0, 0x80, 4,  4,  4,  0x80,
                                                             8, 8, 8, 0x80, 12, 12, 12, 0x80};
    const auto spread =
        hn::TableLookupBytesOr0(hn::BitCast(dBytes, mean), hn::LoadDup128(dBytes, kSpread));
    return hn::Or(hn::And(p, reservedBits()), hn::BitCast(d, spread));
}

// The plain loop `rest` up to the first vector boundary, whole vectors, and `rest` again for
// the end of the run.
template <class Pixel, class Rest>
void eachVector(std::uint8_t* pixels, std::size_t count, Pixel pixel, Rest rest) {
    const Bytes d;
    const std::size_t n = hn::Lanes(Pixels());
    std::size_t i = simd::pixelsBeforeBoundary(pixels, count, hn::Lanes(d));
    rest(pixels, i);
    for (; i + n <= count; i += n) {
        std::uint8_t* at = pixels + 4 * i;
        hn::StoreU(hn::BitCast(d, pixel(hn::BitCast(Pixels(), hn::LoadU(d, at)))), d, at);
    }
    rest(pixels + 4 * i, count - i);
}

template <PalEffect Effect>
void substituteAll(std::uint8_t* pixels, std::size_t count) {
    eachVector(
        pixels, count, [](PixelVector p) { return substituted<Effect>(p); },
        [](std::uint8_t* rest, std::size_t n) { substitutePlain(rest, n, Effect); });
}

}  // namespace

void greyRun(std::uint8_t* pixels, std::size_t count) {
    eachVector(
        pixels, count, [](PixelVector p) { return grey(p); }, makeGreyPlain);
}

// Each op code gets its own loop, so the choice of rule is made once per call.
void substituteRun(std::uint8_t* pixels, std::size_t count, PalEffect effect) {
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
            return;
    }
}
#endif

}  // namespace quillon::paleffects::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quillon::paleffects {

HWY_EXPORT(greyRun);
HWY_EXPORT(substituteRun);

void makeGrey(std::uint8_t* pixels, std::size_t count) {
    HWY_DYNAMIC_DISPATCH(greyRun)(pixels, count);
}

void substitute(std::uint8_t* pixels, std::size_t count, PalEffect effect) {
    HWY_DYNAMIC_DISPATCH(substituteRun)(pixels, count, effect);
}

}  // namespace quillon::paleffects
#endif
