#pragma once

#include <cstdint>
#include <vector>

#include "tests/engine/KernelSurface.h"

namespace quillon::testsupport {

// One entry into the colour X kernel: the record fields it reads and a, b as numbers.
struct ColorXCall {
    std::int32_t opCode = 0;
    std::int32_t amount = 1;
    std::uint32_t colour = 0;  // 0x00BBGGRR
    float a = 0.9f;
    float b = 0.1f;
};

// The word a pixel of the given 0x00BBGGRR colour holds (blue in the low byte).
std::uint32_t pixelWord(std::uint32_t bgr);

// The colour X effects done the slow, literal way on a copy of a working plane of
// W x H pixels, kept apart from the kernel so the two can be compared byte for byte.
std::vector<std::uint8_t> referenceColorX(std::vector<std::uint8_t> working, std::int32_t width,
                                          std::int32_t height, const ColorXCall& call);

// The kernel call the engine makes, with a and b as single-precision bit patterns.
KernelCall kernelCall(const ColorXCall& call);

}  // namespace quillon::testsupport
