#include <gtest/gtest.h>

#include <random>

#include "engine/PalEffectsKernel.h"
#include "engine/PalEffectsPasses.h"
#include "tests/engine/PalEffectsTestSupport.h"

namespace quillon {
namespace {

using testsupport::referencePalEffects;
using testsupport::ThreePlaneSurface;

constexpr std::int32_t kAmounts[] = {-32768, -300, -256, -255, -1,  0,    1,
                                     7,      128,  255,  256,  300, 32767};
constexpr std::int32_t kShapes[][2] = {{0, 3}, {1, 1}, {2, 1},  {3, 1},  {4, 1}, {5, 1},
                                       {7, 1}, {3, 5}, {16, 1}, {17, 1}, {3, 11}};

// Random bytes, with the thresholds of the substitutions and the ends of the range
// turning up often, and whole pixels of one such value now and then.
void fillPhotoLike(std::uint8_t* bytes, std::size_t pixelCount, std::mt19937& random) {
    static constexpr std::uint8_t kEdges[] = {0, 1, 24, 25, 128, 179, 180, 248, 249, 254, 255};
    std::uniform_int_distribution<int> anyByte(0, 255), edge(0, 10), kind(0, 3);
    for (std::size_t i = 0; i < 4 * pixelCount; i += 4) {
        const int pixelKind = kind(random);
        const std::uint8_t flat = kEdges[edge(random)];
        for (std::size_t k = 0; k < 4; ++k) {
            const auto picked =
                pixelKind == 1 ? kEdges[edge(random)] : std::uint8_t(anyByte(random));
            bytes[i + k] = pixelKind == 0 && k < 3 ? flat : picked;
        }
    }
}

TEST(PalEffectsAgreement, KernelMatchesTheReferenceAndKeepsOtherPlanes) {
    std::mt19937 random(20240611);
    for (std::int32_t op = 0; op <= 19; ++op) {
        for (std::int32_t amount : kAmounts) {
            for (const auto& shape : kShapes) {
                ThreePlaneSurface surface(shape[0], shape[1]);
                const std::size_t n = surface.pixelCount();
                for (int p = 1; p <= 3; ++p) fillPhotoLike(surface.plane(p), n, random);
                const auto original = surface.planeBytes(1), undo = surface.planeBytes(3);
                auto expected = surface.planeBytes(2);
                const std::uint32_t start = random();
                referencePalEffects(expected.data(), n, op, amount, start);

                surface.apply(op, amount, start);
                SCOPED_TRACE(testing::Message()
                             << "op " << op << " amount " << amount << " pixels " << n);
                ASSERT_EQ(surface.planeBytes(2), expected);
                ASSERT_EQ(surface.planeBytes(1), original);
                ASSERT_EQ(surface.planeBytes(3), undo);
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
    ThreePlaneSurface surface(40, 1);
    fillPhotoLike(surface.plane(2), 40, random);
    auto expected = surface.planeBytes(2);
    referencePalEffects(expected.data(), 40, 10, 3, kCarryingStart);
    surface.apply(10, 3, kCarryingStart);
    EXPECT_EQ(surface.planeBytes(2), expected);
}

// The byte loop is the whole packed path on builds without SSE2; here it only does tails.
TEST(PalEffectsAgreement, PlainPackedPathMatchesTheReference) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> pixels(4 * 45);
    for (std::int32_t op : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11}) {
        for (std::int32_t amount : kAmounts) {
            fillPhotoLike(pixels.data(), 45, random);
            auto expected = pixels;
            referencePalEffects(expected.data(), 45, op, amount, 0);
            paleffects::applyPackedScalar(pixels.data(), 45,
                                          *paleffects::packedStepFor(op, amount));
            ASSERT_EQ(pixels, expected) << "op " << op << " amount " << amount;
        }
    }
}

}  // namespace
}  // namespace quillon
