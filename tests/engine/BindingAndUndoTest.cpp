// Binding a picture box (measuring it, the depth test, capturing the picture into the
// three planes), what every operation does while no box is bound, the one-step undo, the
// reset to the original, and when the box is redrawn.
#include <gtest/gtest.h>

#include <functional>

#include "platform/core/Display.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/ScriptedFileDialogs.h"

namespace quillon {
namespace {

using platform::MessageIcon;
using platform::ShownMessage;
using testing::planeWords;
using testing::shownWords;

const QString kTitle = QStringLiteral("clsASM");
const ShownMessage kNoBox{kTitle,
                          QStringLiteral("You must assign a picturebox to the class first!"),
                          MessageIcon::Information};
constexpr std::int32_t kRedPlus = 0;
constexpr std::int32_t kNegative = 11;

class BindingTest : public ::testing::Test {
protected:
    testing::EngineFixtureEnvironment env;
    clsASMpic engine;
};

TEST_F(BindingTest, CapturesThePictureIntoThreeEqualPlanesBottomRowFirst) {
    const QImage picture = testing::patternPicture(5, 3);
    auto box = testing::makeBox(5, 3, picture);
    engine.setPictureBox(*box);
    ASSERT_EQ(engine.boundBox(), box.get());
    EXPECT_TRUE(env.messages.shown().empty());
    const auto original = planeWords(engine, 1);
    ASSERT_EQ(original.size(), 15u);
    EXPECT_EQ(original, planeWords(engine, 2));
    EXPECT_EQ(original, planeWords(engine, 3));
    // Row 1 is the bottom row of the picture; the reserved byte is 0 after a capture.
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(original[x], picture.pixel(x, 2) & 0x00FFFFFF) << "bottom row, x " << x;
        EXPECT_EQ(original[10 + x], picture.pixel(x, 0) & 0x00FFFFFF) << "top row, x " << x;
    }
    EXPECT_EQ(shownWords(*box), original);

    // Measured in the screen's twips, halves to even, a box larger than its image is
    // clipped, not overrun: 4 x 2 pixels of 15 twips measured as 6 x 3 of 10.
    platform::Display::overrideTwipsPerPixel(10.0);
    box = testing::makeBox(4, 2, picture.copy(0, 0, 4, 2));
    engine.setPictureBox(*box);
    EXPECT_EQ(std::pair(engine.record().width, engine.record().height), std::pair(6, 3));
    const auto plane = planeWords(engine, 1);
    EXPECT_EQ(plane[0], picture.pixel(0, 1) & 0x00FFFFFF);
    EXPECT_EQ(plane[5], 0u);           // beyond the image's right edge
    EXPECT_EQ(plane[12], 0u);          // above the image's top edge
    box->setOuterSizeTwips(225, 235);  // 22.5 and 23.5 pixels
    engine.setPictureBox(*box);
    EXPECT_EQ(std::pair(engine.record().width, engine.record().height), std::pair(22, 24));
}

TEST_F(BindingTest, RefusesOtherDepthsAndSurfacesTooLargeToHold) {
    for (const int bits : {8, 15, 16, 24, 32}) {
        const bool accepted = bits == 16 || bits == 32;
        env.messages.clear();
        platform::Display::overrideBitsPerPixel(bits);
        auto box = testing::makeBox(4, 4);
        engine.setPictureBox(*box);
        EXPECT_EQ(engine.boundBox(), accepted ? box.get() : nullptr) << bits;
        EXPECT_EQ(env.messages.shown().size(), accepted ? 0u : 1u)
            << bits;  // the text: where a load binds
    }
    // A failed rebinding leaves no box bound.
    env.messages.clear();
    engine.ASM_PalEffects(kNegative);
    EXPECT_EQ(env.messages.shown(), std::vector<ShownMessage>{kNoBox});

    // A box whose screen measure is far larger than its image: more than a 32-bit plane.
    platform::Display::overrideBitsPerPixel(32);
    platform::Display::overrideTwipsPerPixel(1.0);
    platform::PictureBoxModel box;
    box.setTwipsPerPixel(1000.0, 1000.0);
    box.setOuterSizeTwips(40000, 40000);
    env.messages.clear();
    engine.setPictureBox(box);
    EXPECT_EQ(engine.boundBox(), nullptr);
    EXPECT_TRUE(engine.surface().empty());
    const std::vector<ShownMessage> expected{
        {kTitle, QStringLiteral("Error in function GETDIBS"), MessageIcon::Critical},
        {kTitle, QStringLiteral("Couldn't assign picturebox"), MessageIcon::Critical}};
    EXPECT_EQ(env.messages.shown(), expected);
}

// No dialog appears either, no file is written, and no colour is chosen.
TEST_F(BindingTest, WithoutABoxEveryOperationRefusesAndEntersNoKernel) {
    testsupport::KernelSpy spy;
    platform::ScopedScriptedFileDialogs dialogs;
    clsASMpic unbound{testsupport::KernelSpy::table()};
    const std::vector<std::function<void()>> operations{
        [&] { unbound.UndoLast(); },
        [&] { unbound.UndoLastDontDraw(); },
        [&] { unbound.ResetPic(); },
        [&] { unbound.DrawNow(); },
        [&] { unbound.setAutoDraw(false); },
        [&] { unbound.ASM_PalEffects(11); },
        [&] { unbound.ASM_IncrementalPalEffects(0, 4); },
        [&] { unbound.ASM_IncrementalPalEffects(10); },
        [&] { unbound.ASM_PixelEffects(0); },
        [&] { unbound.ASM_Magnify(2.0f); },
        [&] { unbound.ASM_Rotate(90); },
        [&] { unbound.ASM_ColorXEffects(0, 0); },
        [&] { unbound.dialogShowOpen(); },
        [&] { unbound.openPictureFile(QStringLiteral("a.bmp")); },
        [&] { unbound.dialogShowSave(); },
        [&] { EXPECT_EQ(unbound.dialogChoseColor(), 0); }};
    for (std::size_t i = 0; i < operations.size(); ++i) {
        env.messages.clear();
        operations[i]();
        EXPECT_EQ(env.messages.shown(), std::vector<ShownMessage>{kNoBox}) << "operation " << i;
        EXPECT_TRUE(unbound.surface().empty());
    }
    EXPECT_TRUE(spy.calls.empty());
    EXPECT_TRUE(dialogs->asked().empty());
    // A box destroyed while bound counts as none.
    auto box = testing::makeBox(3, 3);
    engine.setPictureBox(*box);
    box.reset();
    env.messages.clear();
    engine.UndoLast();
    EXPECT_EQ(env.messages.shown(), std::vector<ShownMessage>{kNoBox});
}

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

// A second undo changes nothing more; an undo after a reset keeps the original.
TEST_F(UndoAndDrawTest, UndoRestoresOneStepAndResetTheOriginal) {
    engine.ASM_IncrementalPalEffects(kRedPlus, 40);
    ASSERT_NE(shownWords(*box), original);
    engine.UndoLast();
    engine.UndoLast();
    EXPECT_EQ(planeWords(engine, 2), original);
    EXPECT_EQ(shownWords(*box), original);

    engine.ASM_PalEffects(kNegative);
    const auto negative = shownWords(*box);
    engine.UndoLastDontDraw();
    EXPECT_EQ(planeWords(engine, 2), original);
    EXPECT_EQ(shownWords(*box), negative);

    engine.ASM_PalEffects(kNegative);
    engine.ASM_IncrementalPalEffects(kRedPlus, 9);
    engine.ResetPic();
    EXPECT_EQ(shownWords(*box), original);
    engine.UndoLast();
    EXPECT_EQ(shownWords(*box), original);
    EXPECT_EQ(planeWords(engine, 2), original);
}

TEST_F(UndoAndDrawTest, WithAutoDrawOffASeriesIsUndoneAtOnceAndDrawnOnRequest) {
    engine.ASM_IncrementalPalEffects(kRedPlus, 20);
    const auto atSwitchOff = planeWords(engine, 2);
    engine.setAutoDraw(false);
    EXPECT_EQ(planeWords(engine, 3), atSwitchOff) << "switching off takes a snapshot";
    for (int i = 0; i < 3; ++i) engine.ASM_IncrementalPalEffects(kRedPlus, 30);
    EXPECT_EQ(shownWords(*box), atSwitchOff);
    engine.DrawNow();
    EXPECT_EQ(shownWords(*box), planeWords(engine, 2));
    engine.UndoLast();
    EXPECT_EQ(planeWords(engine, 2), atSwitchOff);

    engine.ASM_IncrementalPalEffects(kRedPlus, 50);
    engine.UndoLastDontDraw();
    engine.setAutoDraw(true);
    EXPECT_EQ(shownWords(*box), atSwitchOff) << "switching on draws";
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
