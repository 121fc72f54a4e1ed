#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/KernelRecord.h"

namespace quillon::testsupport {

// The palette effects done the slow, literal way: one pixel and one byte at a time,
// noise in double precision. Kept apart from the engine's passes so the two can be
// compared byte for byte.
void referencePalEffects(std::uint8_t* pixels, std::size_t count, std::int32_t opCode,
                         std::int32_t amount, std::uint32_t noiseStart);

// A three-plane surface of W x H pixels with the record that points at it, so the
// kernel is entered exactly as the engine enters it.
class ThreePlaneSurface {
public:
    ThreePlaneSurface(std::int32_t width, std::int32_t height);

    std::uint8_t* plane(int p) { return planeStart(record_, p); }
    std::vector<std::uint8_t> planeBytes(int p);
    std::size_t pixelCount() const { return bytes_.size() / 12; }

    // Runs the palette effects kernel with the arguments the engine passes (a as given).
    void apply(std::int32_t opCode, std::int32_t amount, std::uint32_t a = 0x40000000);

private:
    std::vector<std::uint8_t> bytes_;
    KernelParameterRecord record_;
};

}  // namespace quillon::testsupport
