// Binding a picture box: measuring it, the depth test, capturing the picture into the
// three planes, and what every operation does while no box is bound.
#include <gtest/gtest.h>

#include <functional>

#include "platform/core/Display.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/KernelSpy.h"
#include "tests/support/RecordingMessages.h"

namespace quillon {
namespace {

using platform::MessageIcon;
using platform::ShownMessage;
using testing::EngineFixtureEnvironment;

const QString kTitle = QStringLiteral("clsASM");
const ShownMessage kNoBox{kTitle,
                          QStringLiteral("You must assign a picturebox to the class first!"),
                          MessageIcon::Information};

class BindingTest : public ::testing::Test {
protected:
    EngineFixtureEnvironment env;
    clsASMpic engine;
};

TEST_F(BindingTest, CapturesThePictureIntoThreeEqualPlanesBottomRowFirst) {
    const QImage picture = testing::patternPicture(5, 3);
    auto box = testing::makeBox(5, 3, picture);
    engine.setPictureBox(*box);

    ASSERT_EQ(engine.boundBox(), box.get());
    EXPECT_TRUE(env.messages.shown().empty());
    const auto original = testing::planeWords(engine, 1);
    ASSERT_EQ(original.size(), 15u);
    EXPECT_EQ(original, testing::planeWords(engine, 2));
    EXPECT_EQ(original, testing::planeWords(engine, 3));
    // Row 1 is the bottom row of the picture; the reserved byte is 0 after a capture.
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(original[x], picture.pixel(x, 2) & 0x00FFFFFF) << "bottom row, x " << x;
        EXPECT_EQ(original[10 + x], picture.pixel(x, 0) & 0x00FFFFFF) << "top row, x " << x;
    }
    EXPECT_EQ(testing::shownWords(*box), original);
}

TEST_F(BindingTest, MeasuresTheBoxInTwipsRoundingHalvesToEven) {
    platform::Display::overrideTwipsPerPixel(2.0);
    platform::PictureBoxModel box;
    box.setTwipsPerPixel(2.0, 2.0);
    box.setOuterSizeTwips(45, 47);  // 22.5 and 23.5 pixels
    engine.setPictureBox(box);
    EXPECT_EQ(engine.record().width, 22);
    EXPECT_EQ(engine.record().height, 24);
}

TEST_F(BindingTest, DepthTestAcceptsOnly16And32BitsPerPixel) {
    const ShownMessage refused{kTitle, QStringLiteral("Not 16 or 24-bit color setting"),
                               MessageIcon::Critical};
    for (const int bits : {8, 15, 16, 24, 32}) {
        const bool accepted = bits == 16 || bits == 32;
        env.messages.clear();
        platform::Display::overrideBitsPerPixel(bits);
        auto box = testing::makeBox(4, 4);
        engine.setPictureBox(*box);
        EXPECT_EQ(engine.boundBox(), accepted ? box.get() : nullptr) << bits;
        EXPECT_EQ(env.messages.shown(),
                  accepted ? std::vector<ShownMessage>{} : std::vector<ShownMessage>{refused})
            << bits;
    }
}

TEST_F(BindingTest, SurfaceTooLargeToHoldFailsTheBindingWithBothMessages) {
    // A box whose screen measure is far larger than its own image: the surface would
    // need more than a 32-bit plane can describe.
    platform::Display::overrideTwipsPerPixel(1.0);
    platform::PictureBoxModel box;
    box.setTwipsPerPixel(1000.0, 1000.0);
    box.setOuterSizeTwips(40000, 40000);
    engine.setPictureBox(box);

    EXPECT_EQ(engine.boundBox(), nullptr);
    EXPECT_TRUE(engine.surface().empty());
    const std::vector<ShownMessage> expected{
        {kTitle, QStringLiteral("Error in function GETDIBS"), MessageIcon::Critical},
        {kTitle, QStringLiteral("Couldn't assign picturebox"), MessageIcon::Critical}};
    EXPECT_EQ(env.messages.shown(), expected);
}

TEST_F(BindingTest, BoxImageSmallerThanTheMeasureIsClippedNotOverrun) {
    platform::Display::overrideTwipsPerPixel(10.0);
    const QImage picture = testing::patternPicture(4, 2);
    auto box = testing::makeBox(4, 2, picture);  // 15 twips per pixel
    engine.setPictureBox(*box);                  // measured as 6 x 3
    ASSERT_EQ(engine.boundBox(), box.get());
    EXPECT_EQ(engine.record().width, 6);
    EXPECT_EQ(engine.record().height, 3);
    const auto plane = testing::planeWords(engine, 1);
    EXPECT_EQ(plane[0], picture.pixel(0, 1) & 0x00FFFFFF);
    EXPECT_EQ(plane[5], 0u);   // beyond the image's right edge
    EXPECT_EQ(plane[12], 0u);  // above the image's top edge
}

TEST_F(BindingTest, RebindingReplacesAllThreePlanes) {
    auto box = testing::makeBox(3, 2);
    engine.setPictureBox(*box);
    engine.ASM_PalEffects(11);
    box->setPicture(testing::patternPicture(3, 2));
    engine.setPictureBox(*box);
    const auto original = testing::planeWords(engine, 1);
    EXPECT_EQ(original[0], box->image().pixel(0, 1) & 0x00FFFFFF);
    EXPECT_EQ(original, testing::planeWords(engine, 2));
    EXPECT_EQ(original, testing::planeWords(engine, 3));
}

TEST_F(BindingTest, EveryOperationNeedingABoxRefusesWithoutOneAndEntersNoKernel) {
    testsupport::KernelSpy spy;
    clsASMpic unbound{testsupport::KernelSpy::table()};
    const std::int32_t opCode = 0;
    const std::vector<std::function<void()>> operations{
        [&] { unbound.UndoLast(); },
        [&] { unbound.UndoLastDontDraw(); },
        [&] { unbound.ResetPic(); },
        [&] { unbound.DrawNow(); },
        [&] { unbound.setAutoDraw(false); },
        [&] { unbound.ASM_PalEffects(11); },
        [&] { unbound.ASM_IncrementalPalEffects(opCode, 4); },
        [&] { unbound.ASM_IncrementalPalEffects(10); },
        [&] { unbound.ASM_PixelEffects(opCode); },
        [&] { unbound.ASM_Magnify(2.0f); },
        [&] { unbound.ASM_Rotate(90); },
        [&] { unbound.ASM_ColorXEffects(opCode, 0); },
    };
    for (std::size_t i = 0; i < operations.size(); ++i) {
        env.messages.clear();
        operations[i]();
        EXPECT_EQ(env.messages.shown(), std::vector<ShownMessage>{kNoBox}) << "operation " << i;
        EXPECT_TRUE(unbound.surface().empty());
    }
    EXPECT_TRUE(spy.calls.empty());
}

TEST_F(BindingTest, AFailedRebindingLeavesNoBoxBound) {
    auto box = testing::makeBox(3, 3);
    engine.setPictureBox(*box);
    platform::Display::overrideBitsPerPixel(24);
    engine.setPictureBox(*box);
    env.messages.clear();
    engine.ASM_PalEffects(11);
    EXPECT_EQ(env.messages.shown(), std::vector<ShownMessage>{kNoBox});
}

TEST_F(BindingTest, ABoxDestroyedWhileBoundCountsAsNoBox) {
    auto box = testing::makeBox(3, 3);
    engine.setPictureBox(*box);
    box.reset();
    engine.UndoLast();
    EXPECT_EQ(env.messages.shown(), std::vector<ShownMessage>{kNoBox});
}

}  // namespace
}  // namespace quillon
