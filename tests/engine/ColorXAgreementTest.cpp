// The kernel against the literal reference, byte for byte, on random pictures in which
// colour X is common, so that glows and streaks overlap, feed each other and saturate.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "engine/ColorXKernel.h"
#include "tests/engine/ColorXReference.h"
#include "tests/engine/RandomArguments.h"
#include "tests/engine/SimdLevels.h"

namespace quillon {
namespace {

using testsupport::ColorXCall;
using testsupport::KernelSurface;
using testsupport::pick;
using testsupport::pixelWord;
using testsupport::uniform;

constexpr std::int32_t kAmounts[] = {-32768, -3, -2, -1, 0,  1,  2,  3,  4,  5,  6,  7,    8,
                                     9,      10, 11, 12, 16, 17, 18, 19, 20, 21, 30, 1638, 32767};
constexpr std::int32_t kRingAmounts[] = {-1, 0, 1, 2, 3, 5};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// In every plane a third of the pixels have colour X (with any reserved byte), a third
// miss it in one channel by a little, the rest are anything.
void fillAroundColour(KernelSurface& surface, std::uint32_t colour, std::mt19937& random) {
    for (int p = 1; p <= 3; ++p) {
        for (std::size_t i = 0; i < surface.pixelCount(); ++i) {
            std::uint32_t word = std::uint32_t(random());
            const std::uint32_t exact = (word & 0xFF000000) | pixelWord(colour);
            if (i % 3 == 0) word = exact;
            if (i % 3 == 1) word = exact ^ (1u + random() % 4) << (8 * (random() % 3));
            std::memcpy(surface.plane(p) + 4 * i, &word, 4);
        }
    }
}

std::uint32_t randomColour(std::mt19937& random) {
    switch (random() % 8) {
        case 0:
            return 0;
        case 1:
            return 0x00FFFFFF;
        case 2:
            return std::uint32_t(random()) | 0x01000000;  // matches no pixel
        default:
            return std::uint32_t(random()) & 0x00FFFFFF;
    }
}

// a and b as the operation passes them, now and then something no operation passes.
void randomArguments(std::mt19937& random, ColorXCall& call, std::int32_t w, std::int32_t h) {
    const float edges[] = {0.0f, std::nextafter(1.0f, 0.0f), kNaN, kInf, -kInf, 1e30f};
    const bool odd = random() % 5 == 0;
    if (call.opCode == 0) {
        call.a = odd ? pick(random, edges) : uniform(random, -0.05f, 1.0f);
        call.b = odd ? pick(random, edges) : uniform(random, -0.05f, 1.0f);
    } else if (call.opCode >= 4 && call.opCode <= 8 && random() % 3 != 0) {
        // Other fades show whether each weight is rounded to single precision where it is kept.
        call.a = odd ? pick(random, edges) : uniform(random, 0.0f, 1.0f);
        call.b = odd ? uniform(random, -0.5f, 0.5f) : uniform(random, 0.0f, 0.2f);
    } else if (call.opCode == 9 || call.opCode < 0 || call.opCode > 8) {
        call.a = odd ? pick(random, edges) : uniform(random, -60.0f, float(w) + 60.0f);
        call.b = odd ? pick(random, edges) : uniform(random, -60.0f, float(h) + 60.0f);
    }
}

void expectAgreement(KernelSurface& surface, const ColorXCall& call) {
    auto expected = surface.planes();
    expected[1] =
        testsupport::referenceColorX(expected[1], surface.width(), surface.height(), call);
    surface.run(colorXEffectsKernel, testsupport::kernelCall(call));
    ASSERT_EQ(surface.planes(), expected)
        << "op " << call.opCode << " amount " << call.amount << " colour " << std::hex
        << call.colour << std::dec << " a " << call.a << " b " << call.b << " size "
        << surface.width() << "x" << surface.height();
}

void matchOnRandomPictures(std::mt19937& random) {
    for (int round = 0; round < 3000; ++round) {
        const bool wide = round % 4 == 0;
        const auto w = std::int32_t(1 + random() % (wide ? 70 : 24));
        const auto h = std::int32_t(1 + random() % (wide ? 6 : 24));
        KernelSurface surface(wide && round % 8 == 0 ? h : w, wide && round % 8 == 0 ? w : h);
        ColorXCall call{.opCode = std::int32_t(random() % 13) - 1, .colour = randomColour(random)};
        const bool ring = call.opCode < 0 || call.opCode > 8;
        call.amount = ring ? pick(random, kRingAmounts) : pick(random, kAmounts);
        randomArguments(random, call, surface.width(), surface.height());
        fillAroundColour(surface, call.colour, random);
        ASSERT_NO_FATAL_FAILURE(expectAgreement(surface, call));
    }
}

TEST(ColorXAgreement, KernelMatchesTheReferenceOnRandomPictures) {
    std::mt19937 random(20240612);
    for (const simd::Level level : testsupport::simdLevels()) {
        const testsupport::ScopedSimdLevel scoped(level);
        ASSERT_NO_FATAL_FAILURE(matchOnRandomPictures(random));
    }
}

// Streaks too long for the kernel to keep a table of their weights form each weight where
// it is used; both ways must blend alike.
TEST(ColorXAgreement, StreaksPastTheTabledLengthMatchTheReference) {
    std::mt19937 random(17);
    for (const std::int32_t op : {7, 8}) {
        KernelSurface surface(4400, 2);
        ColorXCall call{.opCode = op, .amount = 8210, .colour = 0x00336699, .a = 0.95f, .b = 1e-4f};
        fillAroundColour(surface, call.colour, random);
        ASSERT_NO_FATAL_FAILURE(expectAgreement(surface, call));
    }
}

// A field of colour X with a band of other colours across it and a few stray pixels, as
// a letterboxed frame: whole rows and columns of colour X, which the kernel passes by,
// and long runs of sources, whose blends it composes.
void fillFieldOfColour(KernelSurface& surface, std::uint32_t colour, std::mt19937& random) {
    for (int p = 1; p <= 3; ++p) {
        for (std::size_t i = 0; i < surface.pixelCount(); ++i) {
            const std::size_t row = i / std::size_t(surface.width());
            const bool other = (row >= 25 && row < 31) || random() % 50 == 0;
            std::uint32_t word = std::uint32_t(random());
            if (!other) word = (word & 0xFF000000) | pixelWord(colour);
            std::memcpy(surface.plane(p) + 4 * i, &word, 4);
        }
    }
}

TEST(ColorXAgreement, FieldsOfColourXMatchTheReference) {
    std::mt19937 random(11);
    for (const simd::Level level : testsupport::simdLevels()) {
        const testsupport::ScopedSimdLevel scoped(level);
        for (const std::int32_t op : {4, 5, 6, 7, 8}) {
            for (const std::int32_t amount : {3, 40}) {
                for (const std::uint32_t colour : {0u, randomColour(random) & 0x00FFFFFF}) {
                    KernelSurface surface(90, 60);
                    fillFieldOfColour(surface, colour, random);
                    const ColorXCall call{
                        .opCode = op, .amount = amount, .colour = colour, .a = 0.9f, .b = 0.1f};
                    ASSERT_NO_FATAL_FAILURE(expectAgreement(surface, call));
                }
            }
        }
    }
}

// The smallest pictures with every op code and the amounts at the ends of the range, as
// the operation passes them and beyond; the reference is too slow for the largest rings.
constexpr std::int32_t kHugeAmount = std::numeric_limits<std::int32_t>::max();

TEST(ColorXAgreement, TinyPicturesUnderEveryOpCodeAndAmount) {
    std::mt19937 random(5);
    const std::int32_t shapes[][2] = {{1, 1}, {2, 5}, {5, 2}};
    for (const auto& shape : shapes) {
        for (std::int32_t op = -1; op <= 10; ++op) {
            for (std::int32_t amount : {-32768, -1, 0, 1, 2, 18, 1638, 32767, kHugeAmount}) {
                KernelSurface surface(shape[0], shape[1]);
                ColorXCall call{.opCode = op, .amount = amount, .colour = randomColour(random)};
                fillAroundColour(surface, call.colour, random);
                randomArguments(random, call, shape[0], shape[1]);
                const bool ring = op < 0 || op > 8;
                if (ring && amount > 18) {
                    const auto original = surface.planeBytes(1), undo = surface.planeBytes(3);
                    surface.run(colorXEffectsKernel, testsupport::kernelCall(call));
                    EXPECT_EQ(surface.planeBytes(1), original);
                    EXPECT_EQ(surface.planeBytes(3), undo);
                } else {
                    ASSERT_NO_FATAL_FAILURE(expectAgreement(surface, call));
                }
            }
        }
    }
}

}  // namespace
}  // namespace quillon
