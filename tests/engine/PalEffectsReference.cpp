#include "tests/engine/PalEffectsReference.h"

#include <algorithm>
#include <cmath>

namespace quillon::testsupport {
namespace {

// Ops 0 to 5 step red, green, blue in pairs; ops 6 to 9 step all three channels.
std::uint32_t patternFor(std::int32_t opCode, std::int32_t amount) {
    const std::int64_t a = amount;
    if (opCode < 6) return std::uint32_t(a * (std::int64_t{1} << (16 - 8 * (opCode / 2))));
    const auto low = std::uint32_t(a & 255);
    return std::uint32_t(a * 65536) | low * 256 | low;
}

std::uint8_t packedByte(std::int32_t opCode, int p, int q) {
    if (opCode == 11) return std::uint8_t(255 - p);
    if (opCode == 8) return std::uint8_t((p + q) % 256);
    if (opCode == 9) return std::uint8_t((p - q + 256) % 256);
    return std::uint8_t(opCode % 2 == 0 ? std::min(255, p + q) : std::max(0, p - q));
}

void packed(std::uint8_t* pixel, std::int32_t opCode, std::int32_t amount) {
    const std::uint32_t q = patternFor(opCode, amount);
    for (int k = 0; k < 4; ++k) pixel[k] = packedByte(opCode, pixel[k], (q >> (8 * k)) % 256);
}

std::uint32_t advance(std::uint32_t s) {
    const std::uint64_t product = (std::uint64_t{s} * 71699) % 4294967296u;
    return std::uint32_t((product + 700937) / 2);
}

void noise(std::uint8_t* pixel, std::int32_t amount, std::uint32_t& s) {
    std::uint8_t fresh[3];
    for (int k = 0; k < 3; ++k) {
        s = advance(s);
        const double r = s % 256;
        const double v = ((r / 255.0) * (40.0 * amount + 1) - 20.0 * amount) + pixel[k];
        fresh[k] = std::uint8_t(std::clamp(std::nearbyint(v), 0.0, 255.0));
    }
    std::copy(fresh, fresh + 3, pixel);
}

// The value blue, green and red all take (grey or a substitution), or -1 to keep the pixel.
int substitution(std::int32_t opCode, int b, int g, int r) {
    const bool black = b == 0 && g == 0 && r == 0;
    const bool white = b == 255 && g == 255 && r == 255;
    switch (opCode) {
        case 12:
            return (b + g + r) / 3;
        case 13:
            return b <= 24 && g <= 24 && r <= 24 ? 0 : -1;
        case 14:
            return b >= 249 && g >= 249 && r >= 249 ? 255 : -1;
        case 15:
            return black ? 255 : -1;
        case 16:
            return white ? 0 : -1;
        case 17:
            return white ? -1 : 0;
        case 18:
            return black ? -1 : 255;
        case 19:
            return r >= 180 || (b < 180 && g >= 180) ? 255 : 0;
        default:
            return -1;
    }
}

}  // namespace

void referencePalEffects(std::uint8_t* pixels, std::size_t count, std::int32_t opCode,
                         std::int32_t amount, std::uint32_t noiseStart) {
    std::uint32_t s = noiseStart;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* pixel = pixels + 4 * i;
        if ((opCode >= 0 && opCode <= 9) || opCode == 11) {
            packed(pixel, opCode, amount);
        } else if (opCode == 10) {
            noise(pixel, amount, s);
        } else {
            const int value = substitution(opCode, pixel[0], pixel[1], pixel[2]);
            if (value >= 0) std::fill(pixel, pixel + 3, std::uint8_t(value));
        }
    }
}

}  // namespace quillon::testsupport
