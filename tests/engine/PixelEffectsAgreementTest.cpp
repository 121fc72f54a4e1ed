// The pixel effects kernel against the plain reference, byte for byte, on random
// surfaces of many shapes: every op code, amounts from the useful ones to the absurd,
// colours with and without the top byte set.
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <sstream>

#include "engine/PixelEffectsKernel.h"
#include "tests/engine/PixelEffectsTestSupport.h"

namespace quillon {
namespace {

using testsupport::PixelEffectsCall;
using testsupport::PixelEffectsSurface;
using testsupport::referenceWaveTable;

constexpr std::int32_t kAmounts[] = {-32768, -8, -1, 0, 1, 2, 3, 4, 5, 8, 9, 300, 32767};
constexpr std::int32_t kShapes[][2] = {{1, 1},  {2, 5},  {5, 2},   {1, 7},   {7, 1}, {2, 2},
                                       {3, 3},  {4, 3},  {3, 4},   {6, 5},   {9, 4}, {4, 9},
                                       {13, 7}, {17, 9}, {23, 16}, {40, 31}, {8, 8}};
constexpr std::uint32_t kColours[] = {0x00000000, 0x00FFFFFF, 0x0080FF01, 0xFF123456};

std::string describe(const PixelEffectsCall& call, std::int32_t w, std::int32_t h) {
    std::ostringstream text;
    text << "op " << call.opCode << " amount " << call.amount << " colour " << std::hex
         << call.colour << std::dec << " on " << w << "x" << h;
    return text.str();
}

void expectKernelMatchesReference(PixelEffectsSurface& surface, const PixelEffectsCall& call) {
    const auto original = surface.planeBytes(1), undo = surface.planeBytes(3);
    const auto expected = surface.expected(call);
    surface.apply(call);
    ASSERT_EQ(surface.planeBytes(2), expected);
    ASSERT_EQ(surface.planeBytes(1), original) << "the original plane is never written";
    ASSERT_EQ(surface.planeBytes(3), undo) << "the undo plane is never written";
}

TEST(PixelEffectsAgreement, EveryOpCodeMatchesTheReferenceOnRandomSurfaces) {
    std::mt19937 random(1606);
    for (std::int32_t op = -1; op <= 6; ++op) {
        for (std::int32_t amount : kAmounts) {
            for (const auto& shape : kShapes) {
                for (std::uint32_t colour : kColours) {
                    PixelEffectsSurface surface(shape[0], shape[1]);
                    surface.fillRandomly(random);
                    const auto table = referenceWaveTable(shape[0], shape[1], amount);
                    const PixelEffectsCall call{op, amount, colour, op == 3 ? &table : nullptr};
                    SCOPED_TRACE(describe(call, shape[0], shape[1]));
                    expectKernelMatchesReference(surface, call);
                }
            }
        }
    }
}

// Sizes around the four-pixel steps of the packed smoothing and its row ends.
TEST(PixelEffectsAgreement, SmoothingPathsMatchTheReferenceAtEveryRowLength) {
    std::mt19937 random(8);
    for (std::int32_t w = 1; w <= 21; ++w) {
        for (std::int32_t amount : {1, 2, 4, 8}) {
            PixelEffectsSurface surface(w, 4);
            surface.fillRandomly(random);
            const PixelEffectsCall call{0, amount, 0, nullptr};
            SCOPED_TRACE(describe(call, w, 4));
            expectKernelMatchesReference(surface, call);

            surface.fillRandomly(random);
            const auto expected = surface.expected(call);
            pixeleffects::smoothPlain({surface.plane(3), surface.plane(2), w, 4}, amount);
            ASSERT_EQ(surface.planeBytes(2), expected) << "plain path";
        }
    }
}

TEST(PixelEffectsAgreement, WaveTableMatchesTheReference) {
    for (std::int32_t amount : kAmounts) {
        for (const auto& shape : kShapes)
            EXPECT_EQ(waveTable(shape[0], shape[1], amount),
                      referenceWaveTable(shape[0], shape[1], amount))
                << amount;
        EXPECT_EQ(waveTable(700, 500, amount), referenceWaveTable(700, 500, amount)) << amount;
    }
}

// A table the kernel did not get from the engine: values off the rows, halves that
// round to even, and values that are not numbers. Every one reads some row.
TEST(PixelEffectsAgreement, WaveReadsOnlyRowsWhateverTheTableHolds) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const float odd[] = {std::numeric_limits<float>::quiet_NaN(),
                         -kInf,
                         kInf,
                         -1e30f,
                         1e30f,
                         0.0f,
                         0.5f,
                         1.5f,
                         2.5f,
                         3.5f,
                         4.49f,
                         6.5f,
                         7.0f,
                         7.5f,
                         8.0f,
                         3e9f};
    std::mt19937 random(35);
    PixelEffectsSurface surface(5, 7);
    for (int round = 0; round < 50; ++round) {
        std::vector<float> table(7);
        for (float& t : table) t = odd[random() % std::size(odd)];
        surface.fillRandomly(random);
        const PixelEffectsCall call{3, 1, 0, &table};
        expectKernelMatchesReference(surface, call);
    }
}

}  // namespace
}  // namespace quillon
