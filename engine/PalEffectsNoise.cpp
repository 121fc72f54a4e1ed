#include <algorithm>
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
// quotient is never a half and floor((2x + 255) / 510) is round-to-nearest. An offset
// beyond +-256 takes every channel to the same end of the byte range as +-256 does, so it
// is kept as that, which keeps the table and the sums small.
using NoiseOffsets = std::array<std::int32_t, 256>;

NoiseOffsets noiseOffsetsFor(std::int32_t amount) {
    const std::int64_t spread = 40 * std::int64_t{amount} + 1;
    const std::int64_t bias = 20 * std::int64_t{amount};
    NoiseOffsets offsets{};
    for (std::int64_t r = 0; r < 256; ++r) {
        const std::int64_t offset = floorDivide(2 * r * spread + 255, 510) - bias;
        offsets[std::size_t(r)] = std::int32_t(std::clamp<std::int64_t>(offset, -256, 256));
    }
    return offsets;
}

std::uint8_t clampToByte(std::int32_t value) {
    return std::uint8_t(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// The generator: the sum keeps its carry (33 bits) before the halving brings it back to
// 32. Its chain of multiply, add and shift, three times a pixel, is what bounds the pass.
inline std::uint32_t advance(std::uint32_t state) {
    const std::uint64_t sum = std::uint64_t{state * 71699u} + 700937u;
    return std::uint32_t(sum >> 1);
}

}  // namespace

std::uint32_t nextNoiseState(std::uint32_t state) {
    return advance(state);
}

// A channel's new value depends on that channel and the generator alone, so each is
// written as soon as it is known.
void addNoise(std::uint8_t* pixels, std::size_t count, std::int32_t amount, std::uint32_t start) {
    const NoiseOffsets offsets = noiseOffsetsFor(amount);
    std::uint32_t state = start;
    for (std::uint8_t* pixel = pixels; pixel != pixels + 4 * count; pixel += 4) {
        for (int channel = 0; channel < 3; ++channel) {
            state = advance(state);
            pixel[channel] = clampToByte(pixel[channel] + offsets[state & 0xFFu]);
        }
    }
}

}  // namespace quillon::paleffects
