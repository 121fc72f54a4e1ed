// ASM_Magnify: what it hands the kernel, the factor's overflow error, and the whole
// operation with the real kernel on ordinary and absurd arguments.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "tests/engine/EngineTestSupport.h"

namespace quillon {
namespace {

struct SpyCall {
    KernelParameterRecord record;
    KernelArgument a, b;
    KernelPointerArgument c;
};
std::vector<SpyCall> calls;

void spyKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
               KernelPointerArgument c) {
    calls.push_back({*record, a, b, c});
}

constexpr std::uint32_t kBoxColour = 0x00112233;
constexpr std::uint32_t kBoxColourWord = 0x00332211;  // as a pixel: blue, green, red
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class MagnifyOperationTest : public ::testing::Test {
protected:
    void bindTo(clsASMpic& engine, int w, int h) {
        calls.clear();
        box = testing::makeBox(w, h, testing::patternPicture(w, h));
        box->setBackColor(kBoxColour);
        engine.setPictureBox(*box);
    }

    testing::EngineFixtureEnvironment env;
    std::unique_ptr<platform::PictureBoxModel> box;
};

TEST_F(MagnifyOperationTest, FillsTheRecordAndArgumentsAndLeavesTheAmount) {
    clsASMpic engine{KernelTable{.palEffects = spyKernel, .magnify = spyKernel}};
    bindTo(engine, 7, 5);
    engine.ASM_PalEffects(0, 77);
    engine.ASM_Magnify(2.0f);
    engine.ASM_Magnify(1.0f, 0.1, 4.0, true, 0x00445566);
    ASSERT_EQ(calls.size(), 3u);
    const SpyCall &plain = calls[1], &given = calls[2];
    EXPECT_EQ(plain.record.amount, 77) << "the amount field is not the magnify's to set";
    EXPECT_EQ(plain.record.colour, kBoxColour);
    EXPECT_EQ(plain.record.opCode, 0);
    EXPECT_EQ(plain.a, singleBits(3.0f)) << "left-out centres are W div 2 and H div 2";
    EXPECT_EQ(plain.b, singleBits(2.0f));
    EXPECT_EQ(plain.c, 20);
    EXPECT_EQ(given.record.colour, 0x00445566u);
    EXPECT_EQ(given.record.opCode, 1);
    EXPECT_EQ(given.a, singleBits(0.1f));
    EXPECT_EQ(given.b, singleBits(4.0f));
    EXPECT_EQ(given.c, 10);
}

TEST_F(MagnifyOperationTest, TheFactorGoesInTenthsRoundedHalvesToEven) {
    clsASMpic engine{KernelTable{.magnify = spyKernel}};
    bindTo(engine, 7, 5);
    // The last two are the ends of the range.
    const float factors[] = {2.5f,   0.25f, 0.35f, 0.75f,        -1.5f,
                             -0.25f, 0.04f, -0.0f, 214748352.0f, -214748352.0f};
    const std::int32_t tenths[] = {25, 2, 3, 8, -15, -2, 0, 0, 2147483520, -2147483520};
    for (std::size_t i = 0; i < std::size(factors); ++i) {
        calls.clear();
        engine.ASM_Magnify(factors[i]);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].c, tenths[i]) << factors[i];
    }
}

TEST_F(MagnifyOperationTest, OverflowStopsAfterTheSnapshotWithThePictureUnchanged) {
    clsASMpic engine{KernelTable{.magnify = spyKernel}};
    bindTo(engine, 7, 5);
    const auto working = testing::planeWords(engine, 2);
    const auto shown = testing::shownWords(*box);
    const float factors[] = {214748368.0f, -214748368.0f, 3e9f, kInf, -kInf, kNaN, 1.0f};
    for (float factor : factors) {
        testing::fillPlane(engine, 3, 0);
        // The last case overflows in the centre instead: it does not fit single precision.
        EXPECT_THROW(engine.ASM_Magnify(factor, factor == 1.0f ? 1e39 : 1.0), std::overflow_error)
            << factor;
        EXPECT_EQ(testing::planeWords(engine, 3), working) << "the snapshot stays taken";
        EXPECT_EQ(testing::planeWords(engine, 2), working);
        EXPECT_EQ(testing::shownWords(*box), shown);
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(MagnifyOperationTest, FactorOneKeepsThePictureAndZeroPaintsTheBackground) {
    clsASMpic engine;
    bindTo(engine, 7, 5);
    const auto before = testing::planeWords(engine, 2);
    engine.ASM_Magnify(1.0f, 2.5, 1.5);
    EXPECT_EQ(testing::planeWords(engine, 2), before);

    engine.ASM_Magnify(0.04f, {}, {}, true);
    const std::vector<std::uint32_t> background(35, kBoxColourWord);
    EXPECT_EQ(testing::planeWords(engine, 2), background);
    EXPECT_EQ(testing::shownWords(*box), background);
    engine.UndoLast();
    EXPECT_EQ(testing::planeWords(engine, 2), before);
}

TEST_F(MagnifyOperationTest, WithoutAutoDrawEveryCallMagnifiesTheSameSnapshot) {
    clsASMpic engine;
    bindTo(engine, 7, 5);
    engine.setAutoDraw(false);
    engine.ASM_Magnify(2.0f);
    const auto once = testing::planeWords(engine, 2);
    engine.ASM_Magnify(2.0f);
    EXPECT_EQ(testing::planeWords(engine, 2), once);
    EXPECT_NE(testing::planeWords(engine, 2), testing::planeWords(engine, 3));
}

// Nothing here may fault; a sanitizer build sees any stray access. A centre that is not
// a number leaves nothing to show but the background.
TEST_F(MagnifyOperationTest, AbsurdArgumentsOnTinyPicturesStayInsideTheSurface) {
    constexpr int kSizes[][2] = {{1, 1}, {2, 5}, {5, 2}};
    const float factors[] = {0.0f, -1.0f, -3.7f, 0.5f, 2e8f, -2e8f, 1e-9f};
    const clsASMpic::Centre centres[] = {{}, 0.0, -1e30, 1e30, 0.5, 1e5};
    for (const auto& size : kSizes) {
        clsASMpic engine;
        bindTo(engine, size[0], size[1]);
        const auto original = testing::planeWords(engine, 1);
        for (float factor : factors) {
            for (const auto& centre : centres) {
                engine.ASM_Magnify(factor, centre, centre, false);
                engine.ASM_Magnify(factor, centre, centre, true);
            }
        }
        engine.ASM_Magnify(1.0f, std::numeric_limits<double>::quiet_NaN(), {}, true);
        const std::vector<std::uint32_t> background(size[0] * size[1], kBoxColourWord);
        EXPECT_EQ(testing::planeWords(engine, 2), background);
        EXPECT_EQ(testing::planeWords(engine, 1), original);
    }
}

}  // namespace
}  // namespace quillon
