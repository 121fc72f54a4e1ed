// The pixel effects kernel against the plain reference, byte for byte, on random
// surfaces of many shapes: every op code, amounts from the useful ones to the absurd,
// colours with and without the top byte set.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "engine/PixelEffectsKernel.h"
#include "tests/engine/PixelEffectsReference.h"
#include "tests/engine/SimdLevels.h"

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
    for (const simd::Level level : testsupport::simdLevels()) {
        const testsupport::ScopedSimdLevel scoped(level);
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
}

// Row lengths around the eight- and four-pixel steps of the vector paths and their row
// ends, for every op code that works along rows.
TEST(PixelEffectsAgreement, VectorPathsMatchTheReferenceAtEveryRowLength) {
    std::mt19937 random(81);
    for (const simd::Level level : testsupport::simdLevels()) {
        const testsupport::ScopedSimdLevel scoped(level);
        for (std::int32_t w = 1; w <= 45; ++w) {
            for (const std::int32_t op : {1, 2, 3, 4}) {
                KernelSurface surface(w, 5);
                surface.fillRandomly(random);
                const auto table = referenceWaveTable(w, 5, 9);
                const PixelEffectsCall call{op, 1, std::uint32_t(random()) & 0x00FFFFFF,
                                            op == 3 ? &table : nullptr};
                ASSERT_NO_FATAL_FAILURE(expectKernelMatchesReference(surface, call));
            }
        }
    }
}

TEST(PixelEffectsAgreement, SmoothingPathsMatchTheReferenceAtEveryRowLength) {
    std::mt19937 random(8);
    for (std::int32_t w = 1; w <= 45; ++w) {
        for (std::int32_t amount : {1, 2, 4, 8}) {
            KernelSurface surface(w, 4);
            const PixelEffectsCall call{0, amount, 0, nullptr};
            for (const simd::Level level : testsupport::simdLevels()) {
                const testsupport::ScopedSimdLevel scoped(level);
                surface.fillRandomly(random);
                ASSERT_NO_FATAL_FAILURE(expectKernelMatchesReference(surface, call));
            }

            surface.fillRandomly(random);
            const auto expected = expectedPlanes(surface, call);
            pixeleffects::smoothPlain({surface.plane(3), surface.plane(2), w, 4}, amount);
            ASSERT_EQ(surface.planes(), expected) << "plain path, " << w << " wide, " << amount;
        }
    }
}

// The vector twist finds the cosine and sine of its angles with a polynomial and asks the
// library only where the result lies close to halfway between two single-precision
// values; rounded to single precision both must agree with the library everywhere, at
// every level. A million angles over every quadrant a twist reaches meet that closeness
// some times at each, and the angles near the quadrant edges test the reduction.
TEST(PixelEffectsAgreement, TwistTurnsAgreeWithTheLibrary) {
    std::mt19937 random(314);
    std::uniform_real_distribution<double> angle(0.0, 10.0);
    const double quarter = 1.5707963267948966;
    std::vector<double> angles(1000000);
    for (std::size_t i = 0; i < angles.size(); ++i) {
        angles[i] = i % 40 < 4
                        ? std::nextafter(quarter * double(random() % 7), 100.0 * (random() % 2))
                        : angle(random);
    }
    std::vector<float> cosines(angles.size()), sines(angles.size());
    std::vector<float> libraryCosines(angles.size()), librarySines(angles.size());
    for (std::size_t i = 0; i < angles.size(); ++i) {
        libraryCosines[i] = float(std::cos(angles[i]));
        librarySines[i] = float(std::sin(angles[i]));
    }
    for (const simd::Level level : testsupport::simdLevels()) {
        const testsupport::ScopedSimdLevel scoped(level);
        pixeleffects::twistTurns(angles.data(), cosines.data(), sines.data(), angles.size());
        for (std::size_t i = 0; i < angles.size(); ++i) {
            ASSERT_TRUE(cosines[i] == libraryCosines[i] && sines[i] == librarySines[i])
                << std::hexfloat << angles[i];
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
