#include "engine/PalEffectsPasses.h"
#include "engine/SimdDispatch.h"

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

void makeGrey(std::uint8_t* pixels, std::size_t count) {
    if (!simd::useAvx2()) return makeGreyPlain(pixels, count);
    splitAtWideBoundary(pixels, count, makeGreyPlain, avx2::makeGrey);
}

void substitute(std::uint8_t* pixels, std::size_t count, PalEffect effect) {
    if (!simd::useAvx2()) return substitutePlain(pixels, count, effect);
    splitAtWideBoundary(
        pixels, count, [&](std::uint8_t* run, std::size_t n) { substitutePlain(run, n, effect); },
        [&](std::uint8_t* run, std::size_t n) { return avx2::substitute(run, n, effect); });
}

}  // namespace quillon::paleffects
