#pragma once

#include <cstddef>
#include <cstdint>

namespace quillon::testsupport {

// The palette effects done the slow, literal way: one pixel and one byte at a time,
// noise in double precision. Kept apart from the engine's passes so the two can be
// compared byte for byte.
void referencePalEffects(std::uint8_t* pixels, std::size_t count, std::int32_t opCode,
                         std::int32_t amount, std::uint32_t noiseStart);

}  // namespace quillon::testsupport
