// ASM_PixelEffects around its kernel: what the kernel is given (a spy stands in for
// it), which op codes reach it, and the effect seen through the engine's planes.
#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/PixelEffectsTestSupport.h"

namespace quillon {
namespace {

struct SpyCall {
    KernelParameterRecord record;
    KernelArgument a, b;
    KernelPointerArgument c;
    std::vector<float> table;  // max(W, H) values at c, for op code 3
};

std::vector<SpyCall> calls;

void spyKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
               KernelPointerArgument c) {
    SpyCall call{*record, a, b, c, {}};
    if (record->opCode == 3) {
        const auto* values = reinterpret_cast<const float*>(c);
        call.table.assign(values, values + std::max(record->width, record->height));
    }
    calls.push_back(call);
}

constexpr std::uint32_t kBackground = 0x00112233;

class PixelEffectsOperationTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        box = testing::makeBox(7, 5, testing::patternPicture(7, 5));
        box->setBackColor(kBackground);
        spied.setPictureBox(*box);
        engine.setPictureBox(*box);
    }

    // What the kernel should have made of the working plane, from the undo plane as
    // it is now.
    std::vector<std::uint32_t> expectedAfter(const testsupport::PixelEffectsCall& call) {
        auto working = testing::planeWords(engine, 2);
        testsupport::referencePixelEffects(
            engine.surface().plane(3), reinterpret_cast<std::uint8_t*>(working.data()), 7, 5, call);
        return working;
    }

    testing::EngineFixtureEnvironment env;
    clsASMpic spied{KernelTable{.pixelEffects = spyKernel}};
    clsASMpic engine;
    std::unique_ptr<platform::PictureBoxModel> box;
};

TEST_F(PixelEffectsOperationTest, PassesAmountColourAndOpCodeWithTheFixedArguments) {
    for (std::int32_t op : {0, 1, 2, 4, 5}) spied.ASM_PixelEffects(op, -300, 0x00445566);
    const std::int32_t smooth = 0;
    spied.ASM_PixelEffects(smooth);
    ASSERT_EQ(calls.size(), 6u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(calls[i].record.amount, -300);
        EXPECT_EQ(calls[i].record.colour, 0x00445566u);
    }
    EXPECT_EQ(calls[4].record.opCode, 5);
    EXPECT_EQ(calls[5].record.amount, 1);
    EXPECT_EQ(calls[5].record.colour, kBackground) << "a left-out colour is the background";
    for (const SpyCall& call : calls) {
        EXPECT_EQ(call.a, 0x40000000u);
        EXPECT_EQ(call.b, 0x40400000u);
        EXPECT_EQ(call.c, 4);
    }
}

TEST_F(PixelEffectsOperationTest, WaveGetsATableAsLongAsTheLongerSide) {
    const std::int32_t wave = 3;
    for (std::int16_t amount : {1, 3, -32768}) spied.ASM_PixelEffects(wave, amount);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].table, testsupport::referenceWaveTable(7, 5, 1));
    EXPECT_EQ(calls[1].table, testsupport::referenceWaveTable(7, 5, 3));
    for (float t : calls[2].table) EXPECT_EQ(t, 1.0f) << "every row clamps to the bottom";
}

TEST_F(PixelEffectsOperationTest, OpCodesOutsideTheRangeOnlySnapshotAndRedraw) {
    for (std::int32_t op : {6, -1, 1000}) {
        testing::fillPlane(spied, 2, 0x00010000 * std::uint32_t(op & 0xFF));
        testing::fillPlane(spied, 3, 0x00ABCDEF);
        const auto working = testing::planeWords(spied, 2);
        spied.ASM_PixelEffects(op, 1, 0);
        EXPECT_EQ(testing::planeWords(spied, 3), working) << op;
        EXPECT_EQ(testing::planeWords(spied, 2), working) << op;
        EXPECT_EQ(testing::shownWords(*box), working) << op;
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(PixelEffectsOperationTest, WithAutoDrawOnTheEffectIsShownAndUndoneExactly) {
    const auto before = testing::planeWords(engine, 2);
    const std::int32_t wave = 3;
    engine.ASM_PixelEffects(wave, 2);
    const auto after = testing::planeWords(engine, 2);
    const auto table = testsupport::referenceWaveTable(7, 5, 2);
    EXPECT_EQ(after, expectedAfter({3, 2, 0, &table}));
    EXPECT_EQ(testing::shownWords(*box), after);
    engine.UndoLast();
    EXPECT_EQ(testing::planeWords(engine, 2), before);
}

TEST_F(PixelEffectsOperationTest, WithAutoDrawOffEveryEffectReadsTheSameSnapshot) {
    engine.setAutoDraw(false);
    const std::int32_t smooth = 0, edge = 1;
    engine.ASM_PixelEffects(smooth, 8);
    const auto once = testing::planeWords(engine, 2);
    engine.ASM_PixelEffects(smooth, 8);
    EXPECT_EQ(testing::planeWords(engine, 2), once) << "twice is the same as once";

    const auto expected = expectedAfter({1, 1, kBackground, nullptr});
    engine.ASM_PixelEffects(edge);
    EXPECT_EQ(testing::planeWords(engine, 2), expected) << "the edge filter replaces, not builds";
}

}  // namespace
}  // namespace quillon
