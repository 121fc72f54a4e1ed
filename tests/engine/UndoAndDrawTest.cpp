// The one-step undo, the reset to the original, and when the box is redrawn.
#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

namespace quillon {
namespace {

using testing::planeWords;
using testing::shownWords;

constexpr std::int32_t kRedPlus = 0;
constexpr std::int32_t kNegative = 11;

class UndoAndDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        box = testing::makeBox(6, 4, testing::patternPicture(6, 4));
        engine.setPictureBox(*box);
        original = planeWords(engine, 1);
    }

    testing::EngineFixtureEnvironment env;
    clsASMpic engine;
    std::unique_ptr<platform::PictureBoxModel> box;
    std::vector<std::uint32_t> original;
};

TEST_F(UndoAndDrawTest, AnEffectIsUndoneExactlyAndUndoingTwiceChangesNothingMore) {
    engine.ASM_IncrementalPalEffects(kRedPlus, 40);
    const auto afterEffect = planeWords(engine, 2);
    ASSERT_NE(afterEffect, original);
    EXPECT_EQ(shownWords(*box), afterEffect);

    engine.UndoLast();
    EXPECT_EQ(planeWords(engine, 2), original);
    EXPECT_EQ(shownWords(*box), original);
    engine.UndoLast();
    EXPECT_EQ(planeWords(engine, 2), original);
}

TEST_F(UndoAndDrawTest, UndoWithoutDrawingLeavesTheBoxShowingTheEffect) {
    engine.ASM_PalEffects(kNegative);
    const auto shown = shownWords(*box);
    engine.UndoLastDontDraw();
    EXPECT_EQ(planeWords(engine, 2), original);
    EXPECT_EQ(shownWords(*box), shown);
}

TEST_F(UndoAndDrawTest, ResetShowsTheOriginalAndAFollowingUndoKeepsIt) {
    engine.ASM_PalEffects(kNegative);
    engine.ASM_IncrementalPalEffects(kRedPlus, 9);
    engine.ResetPic();
    EXPECT_EQ(shownWords(*box), original);
    EXPECT_EQ(planeWords(engine, 2), original);
    EXPECT_EQ(planeWords(engine, 3), original);
    engine.UndoLast();
    EXPECT_EQ(shownWords(*box), original);
}

TEST_F(UndoAndDrawTest, WithAutoDrawOffASeriesOfEffectsIsUndoneAtOnce) {
    engine.ASM_PalEffects(kNegative);
    const auto atSwitchOff = planeWords(engine, 2);
    engine.setAutoDraw(false);
    EXPECT_EQ(planeWords(engine, 3), atSwitchOff) << "switching off takes a snapshot";
    for (int i = 0; i < 3; ++i) engine.ASM_IncrementalPalEffects(kRedPlus, 30);
    engine.UndoLast();
    EXPECT_EQ(planeWords(engine, 2), atSwitchOff);
}

TEST_F(UndoAndDrawTest, SwitchingAutoDrawOnAndDrawNowShowTheWorkingPlane) {
    engine.setAutoDraw(false);
    engine.ASM_IncrementalPalEffects(kRedPlus, 50);
    ASSERT_EQ(shownWords(*box), original);
    engine.DrawNow();
    EXPECT_EQ(shownWords(*box), planeWords(engine, 2));

    engine.UndoLastDontDraw();
    engine.setAutoDraw(true);
    EXPECT_TRUE(engine.AutoDraw());
    EXPECT_EQ(shownWords(*box), original);
}

TEST_F(UndoAndDrawTest, DrawingShowsTheBoxRepaintsItAndClearsTheAssignedPicture) {
    int repaints = 0;
    QObject::connect(box.get(), &platform::PictureBoxModel::repaintRequested, [&] { ++repaints; });
    box->setVisible(false);
    engine.ASM_PalEffects(kNegative);
    EXPECT_EQ(repaints, 1);
    EXPECT_TRUE(box->isVisible());
    // The picture assigned before binding is now part of the surface; left in the box, it
    // would be painted again under the next drawing.
    EXPECT_TRUE(box->picture().isNull());
}

}  // namespace
}  // namespace quillon
