#pragma once

#include <cstdint>
#include <vector>

#include "engine/KernelRecord.h"

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

// A three-plane surface of W x H pixels, entered exactly as the engine enters the kernel.
class ColorXSurface {
public:
    ColorXSurface(std::int32_t width, std::int32_t height);

    std::int32_t width() const { return record_.width; }
    std::int32_t height() const { return record_.height; }
    std::uint8_t* plane(int p) { return planeStart(record_, p); }
    std::vector<std::uint8_t> planeBytes(int p);

    // Pixel words of the working plane, column x and row y from 1 (row 1 at the bottom).
    std::uint32_t word(std::int32_t x, std::int32_t y);
    void setWord(std::int32_t x, std::int32_t y, std::uint32_t word);
    void fill(std::uint32_t word);

    void apply(const ColorXCall& call);
    std::vector<std::uint8_t> expected(const ColorXCall& call);

private:
    std::vector<std::uint8_t> bytes_;
    KernelParameterRecord record_;
};

}  // namespace quillon::testsupport
