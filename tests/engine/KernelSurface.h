#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "engine/KernelHost.h"

namespace quillon::testsupport {

// The record fields an operation sets, and the three extra arguments of one kernel call.
struct KernelCall {
    std::int32_t opCode = 0;
    std::int32_t amount = 0;
    std::uint32_t colour = 0;
    KernelArgument a = kSingleTwo;
    KernelArgument b = kSingleThree;
    KernelPointerArgument c = kPlainFour;
};

// Three planes of W x H pixels (1 original, 2 working, 3 undo) in one allocation of
// exactly that size, so a sanitizer sees any access past either end, and the record
// that points at them. Pixels are addressed as (x, y) from 1, row 1 at the bottom;
// their bytes are blue, green, red, reserved, and so their words 0xRRGGBB with the
// reserved byte on top.
class KernelSurface {
public:
    KernelSurface(std::int32_t width, std::int32_t height);
    KernelSurface(const KernelSurface&) = delete;
    KernelSurface& operator=(const KernelSurface&) = delete;

    KernelParameterRecord& record() { return record_; }
    std::int32_t width() const { return record_.width; }
    std::int32_t height() const { return record_.height; }
    std::size_t pixelCount() const { return bytes_.size() / 12; }

    std::uint8_t* plane(int p) { return planeStart(record_, SurfacePlane(p)); }
    // All three planes, to compare the whole effect of a kernel call.
    std::array<std::vector<std::uint8_t>, 3> planes() const;

    std::uint8_t* pixel(int p, int x, int y);
    std::uint32_t word(int p, int x, int y);
    void setWord(int p, int x, int y, std::uint32_t word);
    void fill(int p, std::uint32_t word);
    // Whether every pixel word of plane p is `expected(x, y)`; names the first that is not.
    ::testing::AssertionResult wordsAre(int p,
                                        const std::function<std::uint32_t(int x, int y)>& expected);

    // Random bytes in every plane, with the ends of the byte range and the thresholds the
    // kernels test against turning up often, also as whole pixels of one such grey.
    void fillRandomly(std::mt19937& random);

    // Sets the record's operation fields and enters the kernel as the engine does.
    void run(Kernel kernel, const KernelCall& call);

private:
    std::vector<std::uint8_t> bytes_;
    KernelParameterRecord record_;
};

}  // namespace quillon::testsupport
