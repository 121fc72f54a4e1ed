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

// Applies the step to every byte of the run: AVX2 where the processor has it, else SSE2
// where the build has it, with the plain byte loop for the ends of the run.
void applyPacked(std::uint8_t* pixels, std::size_t count, PackedStep step);

// The plain byte loop alone: the path of builds without SSE2, also timed against the
// packed one.
void applyPackedScalar(std::uint8_t* pixels, std::size_t count, PackedStep step);

// Op code 10: three steps of the generator per pixel (blue, green, red), starting
// from `start`.
void addNoise(std::uint8_t* pixels, std::size_t count, std::int32_t amount, std::uint32_t start);

// The generator behind the noise: the next state after `state`.
std::uint32_t nextNoiseState(std::uint32_t state);

// Op code 12: blue, green and red become their truncated mean. This and the substitutions
// take the AVX2 path where the processor has it.
void makeGrey(std::uint8_t* pixels, std::size_t count);

// Op codes 13 to 19; any other op code changes nothing.
void substitute(std::uint8_t* pixels, std::size_t count, PalEffect effect);

// The same passes without dispatch: the baseline path, also the one for the ends of a run.
void makeGreyPlain(std::uint8_t* pixels, std::size_t count);
void substitutePlain(std::uint8_t* pixels, std::size_t count, PalEffect effect);

// Runs `wide` on the middle of a run, from its first pixel on a 32-byte boundary, and
// `narrow` on what it leaves before and after; `wide` returns how many pixels it did. A
// run that is not even 4-byte aligned never reaches a boundary and goes to `wide` whole.
template <class Narrow, class Wide>
void splitAtWideBoundary(std::uint8_t* pixels, std::size_t count, Narrow narrow, Wide wide) {
    const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(pixels) % 32;
    std::size_t head = misalignment % 4 == 0 ? (32 - misalignment) % 32 / 4 : 0;
    if (head > count) head = count;
    narrow(pixels, head);
    const std::size_t done = head + wide(pixels + 4 * head, count - head);
    narrow(pixels + 4 * done, count - done);
}

// The AVX2 passes (PalEffectsAvx2.cpp), for processors that have it. Each does the whole
// eight-pixel vectors at the start of the run and returns how many pixels that was.
namespace avx2 {
std::size_t applyPacked(std::uint8_t* pixels, std::size_t count, PackedStep step);
std::size_t makeGrey(std::uint8_t* pixels, std::size_t count);
std::size_t substitute(std::uint8_t* pixels, std::size_t count, PalEffect effect);
}  // namespace avx2

}  // namespace quillon::paleffects
