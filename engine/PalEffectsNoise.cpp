#include <array>

#include "engine/PalEffectsPasses.h"

namespace quillon::paleffects {
namespace {

// Floor of x / d for d > 0; C++ division truncates toward zero instead.
std::int64_t floorDivide(std::int64_t x, std::int64_t d) {
    const std::int64_t q = x / d;
    return (x % d != 0 && x < 0) ? q - 1 : q;
}

// The offset added to a channel for every byte r the generator can draw:
// round(r * (40A + 1) / 255) - 20A, computed exactly. The divisor is odd, so the
// quotient is never a half and floor((2x + 255) / 510) is round-to-nearest.
using NoiseOffsets = std::array<std::int64_t, 256>;

NoiseOffsets noiseOffsetsFor(std::int32_t amount) {
    const std::int64_t spread = 40 * std::int64_t{amount} + 1;
    const std::int64_t bias = 20 * std::int64_t{amount};
    NoiseOffsets offsets{};
    for (std::int64_t r = 0; r < 256; ++r) {
        offsets[std::size_t(r)] = floorDivide(2 * r * spread + 255, 510) - bias;
    }
    return offsets;
}

std::uint8_t clampToByte(std::int64_t value) {
    return std::uint8_t(value < 0 ? 0 : (value > 255 ? 255 : value));
}

}  // namespace

std::uint32_t nextNoiseState(std::uint32_t state) {
    // The sum keeps its carry (33 bits) before the halving brings it back to 32.
    const std::uint64_t sum = std::uint64_t{state * 71699u} + 700937u;
    return std::uint32_t(sum >> 1);
}

void addNoise(std::uint8_t* pixels, std::size_t count, std::int32_t amount, std::uint32_t start) {
    const NoiseOffsets offsets = noiseOffsetsFor(amount);
    std::uint32_t state = start;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* pixel = pixels + 4 * i;
        std::uint8_t fresh[3];
        for (int channel = 0; channel < 3; ++channel) {
            state = nextNoiseState(state);
            fresh[channel] = clampToByte(pixel[channel] + offsets[state & 0xFFu]);
        }
        pixel[0] = fresh[0];
        pixel[1] = fresh[1];
        pixel[2] = fresh[2];
    }
}

}  // namespace quillon::paleffects
