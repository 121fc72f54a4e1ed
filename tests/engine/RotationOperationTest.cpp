// ASM_Rotate around its kernel: what it passes, when it snapshots, when it does nothing,
// and what the engine shows afterwards.
#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/RotationKernel.h"
#include "tests/engine/EngineTestSupport.h"

namespace quillon {
namespace {

struct SpiedCall {
    KernelParameterRecord record;
    KernelArgument a, b;
    KernelPointerArgument c;
};
std::vector<SpiedCall> spied;

void spyKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
               KernelPointerArgument c) {
    spied.push_back({*record, a, b, c});
}

constexpr std::uint32_t kBack = 0x00112233, kBackWord = 0x00332211;

class RotationOperation : public ::testing::Test {
protected:
    RotationOperation() {
        spied.clear();
        bind(spy, 7, 5);
        bind(real, 5, 5);
    }
    void bind(clsASMpic& engine, int w, int h) {
        boxes.push_back(testing::makeBox(w, h, testing::patternPicture(w, h)));
        boxes.back()->setBackColor(kBack);
        engine.setPictureBox(*boxes.back());
    }
    // Marks the working plane so a draw and a snapshot are both visible afterwards.
    void markWorking(clsASMpic& engine) { testing::fillPlane(engine, 2, 0x00ABCDEF); }

    testing::EngineFixtureEnvironment env;
    std::vector<std::unique_ptr<platform::PictureBoxModel>> boxes;
    clsASMpic spy{KernelTable{.rotation = spyKernel}};
    clsASMpic real;
};

TEST_F(RotationOperation, AngleZeroDoesNothingAtAll) {
    markWorking(spy);
    const auto undo = testing::planeWords(spy, 3), shown = testing::shownWords(*boxes[0]);
    spy.ASM_Rotate(0, true, false, 0x00445566, 1.0, 1.0);
    spy.ASM_Rotate(0);
    EXPECT_TRUE(spied.empty());
    EXPECT_EQ(testing::planeWords(spy, 3), undo);
    EXPECT_EQ(testing::shownWords(*boxes[0]), shown);
}

TEST_F(RotationOperation, PassesColourCentresAngleAndAllFourOpCodes) {
    spy.ASM_Rotate(90);
    spy.ASM_Rotate(-45, true, false, 0x7F445566, 2.5, -1.25);
    spy.ASM_Rotate(-32768, false, false, -7, {}, 4.0);
    spy.ASM_Rotate(1, true, true);
    ASSERT_EQ(spied.size(), 4u);
    EXPECT_EQ(spied[0].a, singleBits(3.0f)) << "W div 2";
    EXPECT_EQ(spied[0].b, singleBits(2.0f)) << "H div 2";
    EXPECT_EQ(spied[0].c, 450);
    EXPECT_EQ(spied[0].record.colour, kBack);
    EXPECT_EQ(spied[1].a, singleBits(2.5f));
    EXPECT_EQ(spied[1].b, singleBits(-1.25f));
    EXPECT_EQ(spied[1].c, 315);
    EXPECT_EQ(spied[1].record.colour, 0x7F445566u);
    EXPECT_EQ(spied[2].c, -32408) << "passed sign-extended";
    EXPECT_EQ(spied[2].record.colour, kBack);
    const std::int32_t opCodes[] = {2, 1, 0, 3};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(spied[i].record.opCode, opCodes[i]) << i;
}

TEST_F(RotationOperation, OnlyTheWorkingPictureIsSnapshotted) {
    markWorking(spy);
    testing::fillPlane(spy, 3, 0);
    spy.ASM_Rotate(30);
    EXPECT_EQ(testing::planeWords(spy, 3), std::vector<std::uint32_t>(35, 0));
    spy.ASM_Rotate(30, false, false);
    EXPECT_EQ(testing::planeWords(spy, 3), std::vector<std::uint32_t>(35, 0x00ABCDEF));
    EXPECT_EQ(spied.size(), 2u);
}

TEST_F(RotationOperation, AngleBeyondTheSixteenBitSumIsAnOverflowAfterTheSnapshot) {
    spy.ASM_Rotate(32407);
    ASSERT_EQ(spied.size(), 1u);
    EXPECT_EQ(spied[0].c, 32767);
    markWorking(spy);
    const auto shown = testing::shownWords(*boxes[0]);
    EXPECT_THROW(spy.ASM_Rotate(32408, false, false), std::overflow_error);
    EXPECT_THROW(spy.ASM_Rotate(32767), std::overflow_error);
    EXPECT_THROW(spy.ASM_Rotate(5, false, true, -1, 1e39), std::overflow_error);
    EXPECT_EQ(spied.size(), 1u);
    EXPECT_EQ(testing::planeWords(spy, 3), testing::planeWords(spy, 2));
    EXPECT_EQ(testing::planeWords(spy, 2), std::vector<std::uint32_t>(35, 0x00ABCDEF));
    EXPECT_EQ(testing::shownWords(*boxes[0]), shown);
}

TEST_F(RotationOperation, WithoutABoxOrWithoutPixelsTheKernelIsNeverEntered) {
    clsASMpic unbound{KernelTable{.rotation = spyKernel}};
    unbound.ASM_Rotate(90);
    EXPECT_EQ(env.messages.shown().size(), 1u);
    for (const auto& size : {std::pair{0, 4}, std::pair{4, 0}}) {
        bind(spy, size.first, size.second);
        ASSERT_EQ(spy.boundBox(), boxes.back().get());
        spy.ASM_Rotate(90, true, false);
        bind(real, size.first, size.second);
        real.ASM_Rotate(90, true, false);
    }
    EXPECT_TRUE(spied.empty());
}

// Blue, green and red only: a negative also turns the reserved bytes, a turn never does.
std::vector<std::uint32_t> colours(std::vector<std::uint32_t> words) {
    for (auto& word : words) word &= 0x00FFFFFF;
    return words;
}

// The default centre is column 5 div 2 = 2 and row 5 div 2 = 2 from the top, surface row 3,
// so a quarter turn takes (x, y) from (5 - y, x + 1).
TEST_F(RotationOperation, DefaultsTurnTheCapturedPictureAndFillWithTheBackground) {
    const auto captured = testing::planeWords(real, 1);
    auto at = [](const std::vector<std::uint32_t>& plane, int x, int y) {
        return plane[(y - 1) * 5 + (x - 1)] & 0x00FFFFFF;
    };
    real.ASM_PalEffects(11);
    real.ASM_Rotate(90);
    const auto turned = testing::planeWords(real, 2);
    EXPECT_EQ(at(turned, 2, 2), at(captured, 3, 3)) << "effects before it are discarded";
    EXPECT_EQ(at(turned, 1, 1), at(captured, 4, 2));
    EXPECT_EQ(at(turned, 5, 5), kBackWord);
    EXPECT_EQ(testing::shownWords(*boxes[1]), colours(turned));
}

// About the middle pixel a quarter turn only moves pixels around, so two make a half turn.
TEST_F(RotationOperation, TurningTheWorkingPictureAddsUpAndUndoesOneStep) {
    real.ASM_Rotate(180, false, true, -1, 3.0, 2.0);
    const auto halfTurn = testing::planeWords(real, 2);
    real.ResetPic();
    real.ASM_Rotate(90, false, false, -1, 3.0, 2.0);
    const auto quarterTurn = testing::planeWords(real, 2);
    real.ASM_Rotate(90, false, false, -1, 3.0, 2.0);
    EXPECT_EQ(testing::planeWords(real, 2), halfTurn);
    EXPECT_NE(quarterTurn, halfTurn);
    real.UndoLast();
    EXPECT_EQ(testing::planeWords(real, 2), quarterTurn);
}

// With drawing off the undo plane keeps the picture of the moment drawing was switched off.
TEST_F(RotationOperation, WithAutoDrawOffTheWorkingTurnReadsTheEarlierSnapshot) {
    const auto before = testing::planeWords(real, 2);
    const auto shown = testing::shownWords(*boxes[1]);
    real.setAutoDraw(false);
    real.ASM_PalEffects(11);
    real.ASM_Rotate(360, false, false);
    EXPECT_EQ(colours(testing::planeWords(real, 2)), colours(before));
    EXPECT_EQ(testing::shownWords(*boxes[1]), shown);
}

}  // namespace
}  // namespace quillon
