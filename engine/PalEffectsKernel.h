#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/KernelRecord.h"
#include "engine/PalEffectsOps.h"

namespace quillon {

// Palette effects: every pixel of the working plane changed by a rule that looks at
// that pixel alone (channel steps, brightness, colour rotation, noise, negative, grey,
// black and white substitutions). Op codes 0 to 19; anything else changes nothing.
// Only a (the noise generator's start value, op code 10) is read of the three arguments.
void palEffectsKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                      KernelPointerArgument c);

// The same effect on a bare run of pixels, so the fast paths can be measured and
// compared on any buffer. `pixels` holds `count` pixels of 4 bytes (blue, green, red,
// reserved).
void palEffectsOnPixels(std::uint8_t* pixels, std::size_t count, std::int32_t opCode,
                        std::int32_t amount, std::uint32_t noiseStart);

}  // namespace quillon
