#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "engine/KernelRecord.h"
#include "tests/engine/PalEffectsTestSupport.h"

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

// A three-plane surface entered exactly as the engine enters the kernel.
class PixelEffectsSurface {
public:
    PixelEffectsSurface(std::int32_t width, std::int32_t height);

    std::uint8_t* plane(int p) { return planes_.plane(p); }
    std::vector<std::uint8_t> planeBytes(int p) { return planes_.planeBytes(p); }
    const KernelParameterRecord& record() const { return record_; }
    void fillRandomly(std::mt19937& random);

    // c is the table's address for op code 3 and 4 otherwise, unless given.
    void apply(const PixelEffectsCall& call);
    void applyWithC(const PixelEffectsCall& call, KernelPointerArgument c);
    // What the reference makes of the working plane as it is now.
    std::vector<std::uint8_t> expected(const PixelEffectsCall& call);

private:
    ThreePlaneSurface planes_;
    KernelParameterRecord record_;
};

}  // namespace quillon::testsupport
