#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>

#include "engine/PalEffectsKernel.h"
#include "engine/PalEffectsPasses.h"
#include "tests/engine/KernelSurface.h"

namespace quillon {
namespace {

using Pixel = std::array<std::uint8_t, 4>;  // blue, green, red, reserved
using testsupport::KernelSurface;

// The working plane of a 1 x n surface after one kernel call.
std::vector<std::uint8_t> afterKernel(const std::vector<std::uint8_t>& working, std::int32_t op,
                                      std::int32_t amount, std::uint32_t a = 0x40000000) {
    KernelSurface surface(std::int32_t(working.size() / 4), 1);
    std::memcpy(surface.plane(2), working.data(), working.size());
    surface.run(palEffectsKernel, {.opCode = op, .amount = amount, .a = a});
    return surface.planeBytes(2);
}

Pixel afterKernel(Pixel pixel, std::int32_t op, std::int32_t amount) {
    const auto bytes =
        afterKernel(std::vector<std::uint8_t>(pixel.begin(), pixel.end()), op, amount);
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

std::vector<std::uint8_t> sampleRow() {
    std::vector<std::uint8_t> row(4 * 37);
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = std::uint8_t(i * 59 + 3);
    return row;
}

TEST(PalEffectsKernel, ChannelStepsSaturateAndRotationsWrap) {
    EXPECT_EQ(afterKernel(Pixel{10, 20, 250, 0}, 0, 8), (Pixel{10, 20, 255, 0}));
    EXPECT_EQ(afterKernel(Pixel{10, 20, 250, 0}, 8, 8), (Pixel{18, 28, 2, 0}));
    EXPECT_EQ(afterKernel(Pixel{10, 20, 250, 0}, 3, 30), (Pixel{10, 0, 250, 0}));
    EXPECT_EQ(afterKernel(Pixel{10, 20, 250, 0}, 9, 15), (Pixel{251, 5, 235, 0}));
}

TEST(PalEffectsKernel, AmountsOutsideAByteSpillIntoNeighbouringBytes) {
    EXPECT_EQ(afterKernel(Pixel{10, 20, 30, 40}, 0, 300), (Pixel{10, 20, 74, 41}));
    EXPECT_EQ(afterKernel(Pixel{10, 20, 30, 40}, 4, -1), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(afterKernel(Pixel{10, 20, 30, 40}, 1, -1), (Pixel{10, 20, 0, 0}));
    EXPECT_EQ(afterKernel(Pixel{10, 20, 30, 40}, 6, 300), (Pixel{54, 64, 74, 41}));
    EXPECT_EQ(afterKernel(Pixel{10, 20, 30, 40}, 2, -32768), (Pixel{10, 20, 158, 255}));
}

TEST(PalEffectsKernel, NegativeInvertsTheReservedByteToo) {
    EXPECT_EQ(afterKernel(Pixel{1, 2, 3, 0}, 11, 1), (Pixel{254, 253, 252, 255}));
}

TEST(PalEffectsKernel, GreyAndSubstitutionsKeepTheReservedByte) {
    EXPECT_EQ(afterKernel(Pixel{255, 255, 254, 77}, 12, 1), (Pixel{254, 254, 254, 77}));
    EXPECT_EQ(afterKernel(Pixel{24, 24, 24, 9}, 13, 1), (Pixel{0, 0, 0, 9}));
    EXPECT_EQ(afterKernel(Pixel{25, 0, 0, 9}, 13, 1), (Pixel{25, 0, 0, 9}));
    EXPECT_EQ(afterKernel(Pixel{249, 249, 249, 9}, 14, 1), (Pixel{255, 255, 255, 9}));
    EXPECT_EQ(afterKernel(Pixel{248, 255, 255, 9}, 14, 1), (Pixel{248, 255, 255, 9}));
}

TEST(PalEffectsKernel, ThresholdRuleLetsRedDecideFirst) {
    EXPECT_EQ(afterKernel(Pixel{0, 0, 180, 1}, 19, 1), (Pixel{255, 255, 255, 1}));
    EXPECT_EQ(afterKernel(Pixel{179, 180, 0, 1}, 19, 1), (Pixel{255, 255, 255, 1}));
    EXPECT_EQ(afterKernel(Pixel{180, 180, 179, 1}, 19, 1), (Pixel{0, 0, 0, 1}));
    EXPECT_EQ(afterKernel(Pixel{255, 179, 179, 1}, 19, 1), (Pixel{0, 0, 0, 1}));
}

TEST(PalEffectsKernel, NoiseFollowsTheGeneratorFromTheFixedStart) {
    std::uint32_t s = 0x40000000;
    for (std::uint32_t expected : {0x60055904u, 0x7CE656AAu, 0x19F68853u}) {
        s = paleffects::nextNoiseState(s);
        EXPECT_EQ(s, expected);
    }
    // Bytes 4, 170 and 83 give offsets -19, +7 and -7 at amount 1.
    EXPECT_EQ(afterKernel(Pixel{100, 100, 100, 5}, 10, 1), (Pixel{81, 107, 93, 5}));
}

TEST(PalEffectsKernel, NoiseOfAmountZeroRaisesWhereTheByteIsHigh) {
    const std::uint32_t start = 0x12345678;
    const auto after = afterKernel(std::vector<std::uint8_t>(4 * 50, 100), 10, 0, start);
    std::uint32_t s = start;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i % 4 == 3) {
            EXPECT_EQ(after[i], 100);
            continue;
        }
        s = paleffects::nextNoiseState(s);
        EXPECT_EQ(after[i], (s & 0xFF) >= 128 ? 101 : 100) << "byte " << i;
    }
}

TEST(PalEffectsKernel, IdleCallsChangeNothing) {
    const auto row = sampleRow();
    for (std::int32_t op : {20, -1, 1000, INT_MIN, INT_MAX}) {
        EXPECT_EQ(afterKernel(row, op, 5), row) << op;
    }
    for (auto [width, height] : {std::pair{0, 7}, std::pair{7, 0}, std::pair{0, 0}}) {
        // Its planes take no bytes at all: the sanitizer build fails on any access.
        KernelSurface empty(width, height);
        empty.run(palEffectsKernel, {.opCode = 11, .amount = 1});
    }
}

}  // namespace
}  // namespace quillon
