// The pixel effects kernel against the plain reference, byte for byte, on random
// surfaces of many shapes: every op code, amounts from the useful ones to the absurd,
// colours with and without the top byte set.
#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "engine/PixelEffectsKernel.h"
#include "tests/engine/PixelEffectsReference.h"

namespace quillon {
namespace {

using testsupport::KernelSurface;
using testsupport::PixelEffectsCall;
using testsupport::referenceWaveTable;

constexpr std::int32_t kAmounts[] = {-32768, -8, -1, 0, 1, 2, 3, 4, 5, 8, 9, 300, 32767};
constexpr std::int32_t kShapes[][2] = {{1, 1},  {2, 5},  {5, 2},   {1, 7},   {7, 1}, {2, 2},
                                       {3, 3},  {4, 3},  {3, 4},   {6, 5},   {9, 4}, {4, 9},
                                       {13, 7}, {17, 9}, {23, 16}, {40, 31}, {8, 8}};
constexpr std::uint32_t kColours[] = {0x00000000, 0x00FFFFFF, 0x0080FF01, 0xFF123456};

// What the reference makes of the working plane from the undo plane, the rest unchanged.
std::array<std::vector<std::uint8_t>, 3> expectedPlanes(KernelSurface& surface,
                                                        const PixelEffectsCall& call) {
    auto planes = surface.planes();
    testsupport::referencePixelEffects(planes[2].data(), planes[1].data(), surface.width(),
                                       surface.height(), call);
    return planes;
}

void expectKernelMatchesReference(KernelSurface& surface, const PixelEffectsCall& call) {
    const auto expected = expectedPlanes(surface, call);
    surface.run(pixelEffectsKernel, testsupport::kernelCall(call));
    ASSERT_EQ(surface.planes(), expected)
        << "op " << call.opCode << " amount " << call.amount << " colour " << std::hex
        << call.colour << std::dec << " on " << surface.width() << "x" << surface.height();
}

TEST(PixelEffectsAgreement, EveryOpCodeMatchesTheReferenceOnRandomSurfaces) {
    std::mt19937 random(1606);
    for (std::int32_t op = -1; op <= 6; ++op) {
        for (std::int32_t amount : kAmounts) {
            for (const auto& [w, h] : kShapes) {
                for (std::uint32_t colour : kColours) {
                    KernelSurface surface(w, h);
                    surface.fillRandomly(random);
                    const auto table = referenceWaveTable(w, h, amount);
                    const PixelEffectsCall call{op, amount, colour, op == 3 ? &table : nullptr};
                    ASSERT_NO_FATAL_FAILURE(expectKernelMatchesReference(surface, call));
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
            KernelSurface surface(w, 4);
            surface.fillRandomly(random);
            const PixelEffectsCall call{0, amount, 0, nullptr};
            ASSERT_NO_FATAL_FAILURE(expectKernelMatchesReference(surface, call));

            surface.fillRandomly(random);
            const auto expected = expectedPlanes(surface, call);
            pixeleffects::smoothPlain({surface.plane(3), surface.plane(2), w, 4}, amount);
            ASSERT_EQ(surface.planes(), expected) << "plain path, " << w << " wide, " << amount;
        }
    }
}

TEST(PixelEffectsAgreement, WaveTableMatchesTheReference) {
    for (std::int32_t amount : kAmounts) {
        for (const auto& [w, h] : kShapes)
            EXPECT_EQ(waveTable(w, h, amount), referenceWaveTable(w, h, amount)) << amount;
        EXPECT_EQ(waveTable(700, 500, amount), referenceWaveTable(700, 500, amount)) << amount;
    }
}

// A table the kernel did not get from the engine: values off the rows, halves that
// round to even, and values that are not numbers. Every one reads some row.
TEST(PixelEffectsAgreement, WaveReadsOnlyRowsWhateverTheTableHolds) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const float odd[] = {kNaN, -kInf, kInf,  -1e30f, 1e30f, 0.0f, 0.5f, 1.5f,
                         2.5f, 3.5f,  4.49f, 6.5f,   7.0f,  7.5f, 8.0f, 3e9f};
    std::mt19937 random(35);
    KernelSurface surface(5, 7);
    for (int round = 0; round < 50; ++round) {
        std::vector<float> table(7);
        for (float& t : table) t = odd[random() % std::size(odd)];
        surface.fillRandomly(random);
        ASSERT_NO_FATAL_FAILURE(expectKernelMatchesReference(surface, {3, 1, 0, &table}));
    }
}

}  // namespace
}  // namespace quillon
