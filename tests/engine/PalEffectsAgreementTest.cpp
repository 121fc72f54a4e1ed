#include <gtest/gtest.h>

#include <random>

#include "engine/PalEffectsKernel.h"
#include "engine/PalEffectsPasses.h"
#include "tests/engine/KernelSurface.h"
#include "tests/engine/PalEffectsReference.h"
#include "tests/engine/SimdLevels.h"

namespace quillon {
namespace {

using testsupport::KernelSurface;
using testsupport::referencePalEffects;

constexpr std::int32_t kAmounts[] = {-32768, -300, -256, -255, -1,  0,    1,
                                     7,      128,  255,  256,  300, 32767};
constexpr std::int32_t kShapes[][2] = {{0, 3},  {1, 1},  {2, 1},  {3, 1},  {4, 1},
                                       {5, 1},  {7, 1},  {3, 5},  {16, 1}, {17, 1},
                                       {3, 11}, {40, 1}, {67, 3}, {9, 13}};

// The kernel's whole effect next to the reference's on the working plane.
void expectAgreement(KernelSurface& surface, std::int32_t op, std::int32_t amount,
                     std::uint32_t noiseStart) {
    auto expected = surface.planes();
    referencePalEffects(expected[1].data(), surface.pixelCount(), op, amount, noiseStart);
    surface.run(palEffectsKernel, {.opCode = op, .amount = amount, .a = noiseStart});
    ASSERT_EQ(surface.planes(), expected)
        << "op " << op << " amount " << amount << " pixels " << surface.pixelCount();
}

TEST(PalEffectsAgreement, KernelMatchesTheReferenceAndKeepsOtherPlanes) {
    std::mt19937 random(20240611);
    for (const simd::Level level : testsupport::simdLevels()) {
        const testsupport::ScopedSimdLevel scoped(level);
        for (std::int32_t op = 0; op <= 19; ++op) {
            for (std::int32_t amount : kAmounts) {
                for (const auto& shape : kShapes) {
                    KernelSurface surface(shape[0], shape[1]);
                    surface.fillRandomly(random);
                    ASSERT_NO_FATAL_FAILURE(expectAgreement(surface, op, amount, random()));
                }
            }
        }
    }
}

// The vector paths start on a vector boundary and leave heads and tails to the plain
// loops (the whole run, at the one-lane level): runs of every length from every byte
// offset, aligned to a pixel or not, must come out as the reference has them and leave
// the bytes around them alone.
TEST(PalEffectsAgreement, RunsOfEveryLengthFromEveryOffset) {
    std::mt19937 random(99);
    std::vector<std::uint8_t> buffer(4 * 80 + 64);
    for (const simd::Level level : testsupport::simdLevels()) {
        const testsupport::ScopedSimdLevel scoped(level);
        for (std::size_t offset = 0; offset < 36; ++offset) {
            for (std::size_t count = 0; count <= 75; ++count) {
                for (std::int32_t op = 0; op <= 19; ++op) {
                    for (auto& byte : buffer) byte = std::uint8_t(random());
                    const std::int32_t amount = kAmounts[random() % std::size(kAmounts)];
                    const std::uint32_t start = random();
                    auto expected = buffer;
                    referencePalEffects(expected.data() + offset, count, op, amount, start);
                    palEffectsOnPixels(buffer.data() + offset, count, op, amount, start);
                    ASSERT_EQ(buffer, expected) << "op " << op << " offset " << offset << " count "
                                                << count << " amount " << amount;
                }
            }
        }
    }
}

// From this state the generator's sum carries into bit 32; the carry reaches the low
// byte, and so the noise, some twenty steps later.
TEST(PalEffectsAgreement, NoiseKeepsTheCarryOfTheGeneratorSum) {
    constexpr std::uint32_t kCarryingStart = 0x76918DE5;
    EXPECT_EQ(paleffects::nextNoiseState(kCarryingStart), 0x80055904u);
    std::mt19937 random(3);
    KernelSurface surface(40, 1);
    surface.fillRandomly(random);
    expectAgreement(surface, 10, 3, kCarryingStart);
}

}  // namespace
}  // namespace quillon
