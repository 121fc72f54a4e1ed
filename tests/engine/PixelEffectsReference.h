#pragma once

#include <cstdint>
#include <vector>

#include "tests/engine/KernelSurface.h"

namespace quillon::testsupport {

// One call of the pixel effects kernel: the record fields it reads and the table.
struct PixelEffectsCall {
    std::int32_t opCode = 0;
    std::int32_t amount = 1;
    std::uint32_t colour = 0;
    const std::vector<float>* table = nullptr;  // op code 3 only
};

// The wave table computed the slow, literal way.
std::vector<float> referenceWaveTable(std::int32_t width, std::int32_t height, std::int32_t amount);

// The pixel effects done one pixel and one byte at a time, reading `undo` and writing
// `working` (both W x H planes), so the kernel's passes can be compared byte for byte.
void referencePixelEffects(const std::uint8_t* undo, std::uint8_t* working, std::int32_t width,
                           std::int32_t height, const PixelEffectsCall& call);

// The kernel call the engine makes: c is the table's address for op code 3, else 4.
KernelCall kernelCall(const PixelEffectsCall& call);

}  // namespace quillon::testsupport
