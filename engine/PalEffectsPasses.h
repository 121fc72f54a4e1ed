#pragma once

// The passes behind the palette effects kernel, one per family of op codes. Each
// pass walks a run of 4-byte pixels (blue, green, red, reserved) once, in place.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/PalEffectsOps.h"

namespace quillon::paleffects {

// How byte k of the 32-bit pattern meets byte k of every pixel.
enum class ByteOp {
    SaturatingAdd,       // min(255, p + q)
    SaturatingSubtract,  // max(0, p - q)
    WrappingAdd,         // (p + q) mod 256
    WrappingSubtract,    // (p - q) mod 256
    SubtractFromPattern  // (q - p) mod 256; with q = 255 this is the negative
};

struct PackedStep {
    std::uint32_t pattern = 0;  // byte 0 meets blue, byte 3 the reserved byte
    ByteOp op = ByteOp::SaturatingAdd;
};

// The packed step of op codes 0 to 9 and 11; nothing for every other op code.
std::optional<PackedStep> packedStepFor(PalEffect effect, std::int32_t amount);

// Applies the step to every byte of the run: whole vectors at the best level the processor
// has, the plain byte loop for the end of the run.
void applyPacked(std::uint8_t* pixels, std::size_t count, PackedStep step);

// The plain byte loop alone: the reference for the vector loops, also timed against them.
void applyPackedScalar(std::uint8_t* pixels, std::size_t count, PackedStep step);

// Op code 10: three steps of the generator per pixel (blue, green, red), starting
// from `start`.
void addNoise(std::uint8_t* pixels, std::size_t count, std::int32_t amount, std::uint32_t start);

// The generator behind the noise: the next state after `state`.
std::uint32_t nextNoiseState(std::uint32_t state);

// Op code 12: blue, green and red become their truncated mean. This and the substitutions
// go by whole vectors like applyPacked.
void makeGrey(std::uint8_t* pixels, std::size_t count);

// Op codes 13 to 19; any other op code changes nothing.
void substitute(std::uint8_t* pixels, std::size_t count, PalEffect effect);

// The same passes without vectors: the reference, also the one for the ends of a run.
void makeGreyPlain(std::uint8_t* pixels, std::size_t count);
void substitutePlain(std::uint8_t* pixels, std::size_t count, PalEffect effect);

}  // namespace quillon::paleffects
