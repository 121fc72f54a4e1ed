// The sequence every effect runs around its kernel: snapshot (when drawing automatically,
// and not for a turn of the original picture), record, kernel, draw. A spy stands in for
// the kernels to see what each finds and when.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/KernelSpy.h"

namespace quillon {
namespace {

using testing::planeWords;
using testing::shownWords;
using testsupport::SpiedCall;

constexpr std::uint32_t kSpyMark = 0x00ABCDEF;

struct Effect {
    const char* name;
    std::function<void(clsASMpic&)> run;
    bool snapshots;  // the working plane into the undo plane, before the kernel
};

const Effect kEffects[] = {
    {"palette", [](clsASMpic& e) { e.ASM_PalEffects(5, 3); }, true},
    {"incremental palette", [](clsASMpic& e) { e.ASM_IncrementalPalEffects(0); }, true},
    {"pixel", [](clsASMpic& e) { e.ASM_PixelEffects(1); }, true},
    {"magnify", [](clsASMpic& e) { e.ASM_Magnify(2.0f); }, true},
    {"turn of the working picture", [](clsASMpic& e) { e.ASM_Rotate(30, false, false); }, true},
    {"turn of the original", [](clsASMpic& e) { e.ASM_Rotate(30); }, false},
    {"colour X", [](clsASMpic& e) { e.ASM_ColorXEffects(4, 0); }, true},
};

class HostSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        box = testing::makeBox(7, 5, testing::patternPicture(7, 5));
        engine.setPictureBox(*box);
        // What the kernel finds, then a mark in the first working pixel to see the drawing.
        spy.onCall = [this](SpiedCall& call) {
            undoAtCall.push_back(planeWords(engine, 3));
            shownAtCall.push_back(shownWords(*box));
            std::memcpy(planeStart(call.record, SurfacePlane::Working), &kSpyMark, 4);
        };
    }

    testing::EngineFixtureEnvironment env;
    testsupport::KernelSpy spy;
    std::vector<std::vector<std::uint32_t>> undoAtCall, shownAtCall;
    clsASMpic engine{testsupport::KernelSpy::table()};
    std::unique_ptr<platform::PictureBoxModel> box;
};

TEST_F(HostSequenceTest, SnapshotsIfItShouldThenCallsTheKernelThenDraws) {
    const std::vector<std::uint32_t> cleared(35, 0);
    for (const Effect& effect : kEffects) {
        SCOPED_TRACE(effect.name);
        engine.ResetPic();
        testing::fillPlane(engine, 3, 0);
        const auto before = planeWords(engine, 2), shown = shownWords(*box);
        spy.calls.clear(), undoAtCall.clear(), shownAtCall.clear();
        effect.run(engine);
        ASSERT_EQ(spy.calls.size(), 1u);
        EXPECT_EQ(undoAtCall[0], effect.snapshots ? before : cleared);
        EXPECT_EQ(shownAtCall[0], shown) << "nothing is drawn before the kernel";
        EXPECT_EQ(shownWords(*box)[0], kSpyMark) << "the result is drawn after it";
        EXPECT_EQ(planeWords(engine, 3), undoAtCall[0]);
    }
}

TEST_F(HostSequenceTest, WithAutoDrawOffThereIsNeitherSnapshotNorDrawing) {
    engine.setAutoDraw(false);
    const auto shown = shownWords(*box);
    for (const Effect& effect : kEffects) {
        testing::fillPlane(engine, 3, 0x00010203);
        spy.calls.clear();
        effect.run(engine);
        EXPECT_EQ(spy.calls.size(), 1u) << effect.name;
        EXPECT_EQ(planeWords(engine, 3), std::vector<std::uint32_t>(35, 0x00010203)) << effect.name;
        EXPECT_EQ(shownWords(*box), shown) << effect.name;
    }
}

TEST_F(HostSequenceTest, OpCodesWithoutAKernelCallStillSnapshotAndRedraw) {
    const std::pair<std::function<void(std::int32_t)>, std::vector<std::int32_t>> operations[] = {
        {[&](std::int32_t op) { engine.ASM_PixelEffects(op, 1, 0); }, {6, -1, 1000}},
        {[&](std::int32_t op) { engine.ASM_ColorXEffects(op, 0); }, {-1, 10, 99}},
    };
    for (const auto& [operation, opCodes] : operations) {
        for (std::int32_t op : opCodes) {
            testing::fillPlane(engine, 2, 0x00010000 * std::uint32_t(op & 0xFF));
            testing::fillPlane(engine, 3, 0x00ABCDEF);
            const auto working = planeWords(engine, 2);
            operation(op);
            EXPECT_EQ(planeWords(engine, 3), working) << op;
            EXPECT_EQ(planeWords(engine, 2), working) << op;
            EXPECT_EQ(shownWords(*box), working) << op;
        }
    }
    EXPECT_TRUE(spy.calls.empty());
}

TEST_F(HostSequenceTest, NothingToTurnMeansNoSnapshotNoKernelAndNoDrawing) {
    testing::fillPlane(engine, 2, 0x00ABCDEF);
    const auto undo = planeWords(engine, 3), shown = shownWords(*box);
    engine.ASM_Rotate(0, true, false, 0x00445566, 1.0, 1.0);
    engine.ASM_Rotate(0);
    EXPECT_EQ(planeWords(engine, 3), undo);
    EXPECT_EQ(shownWords(*box), shown);
    // A picture without pixels, with the real kernel too.
    for (const auto& [w, h] : {std::pair{0, 4}, std::pair{4, 0}}) {
        auto empty = testing::makeBox(w, h, testing::patternPicture(w, h));
        engine.setPictureBox(*empty);
        ASSERT_EQ(engine.boundBox(), empty.get());
        engine.ASM_Rotate(90, true, false);
        clsASMpic real;
        real.setPictureBox(*empty);
        real.ASM_Rotate(90, true, false);
    }
    EXPECT_TRUE(spy.calls.empty());
    EXPECT_TRUE(env.messages.shown().empty());
}

}  // namespace
}  // namespace quillon
