// The sequence every effect runs around its kernel: snapshot, record, kernel, draw.
// A spy kernel stands in for the palette kernel to see what it is given and when.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/RandomSource.h"
#include "tests/engine/EngineTestSupport.h"

namespace quillon {
namespace {

struct SpyCall {
    KernelParameterRecord record;
    KernelArgument a, b;
    KernelPointerArgument c;
    std::vector<std::uint32_t> working, undo, shown;
};

std::vector<SpyCall> calls;
const clsASMpic* spiedEngine = nullptr;

constexpr std::uint32_t kSpyMark = 0x00ABCDEF;

// Records the call, then marks the first working pixel so the drawing can be checked.
void spyKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
               KernelPointerArgument c) {
    calls.push_back({*record, a, b, c, testing::planeWords(*spiedEngine, 2),
                     testing::planeWords(*spiedEngine, 3),
                     testing::shownWords(*spiedEngine->boundBox())});
    std::memcpy(planeStart(*record, 2), &kSpyMark, 4);
}

class HostSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        spiedEngine = &engine;
        box = testing::makeBox(7, 5, testing::patternPicture(7, 5));
        box->setBackColor(0x00112233);
        engine.setPictureBox(*box);
    }

    testing::EngineFixtureEnvironment env;
    clsASMpic engine{KernelTable{.palEffects = spyKernel}};
    std::unique_ptr<platform::PictureBoxModel> box;
};

TEST_F(HostSequenceTest, SnapshotsThenCallsTheKernelThenDraws) {
    testing::fillPlane(engine, 3, 0);
    const auto before = testing::planeWords(engine, 2);
    engine.ASM_PalEffects(5, 3);

    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].undo, before) << "the undo plane holds the picture before the kernel";
    EXPECT_EQ(calls[0].shown, before) << "nothing is drawn before the kernel";
    EXPECT_EQ(testing::shownWords(*box)[0], kSpyMark) << "the result is drawn after it";
    EXPECT_EQ(testing::planeWords(engine, 3), before);
}

TEST_F(HostSequenceTest, PalEffectsFillsTheRecordWithItsArgumentsAndDefaults) {
    engine.ASM_PalEffects(5, -300, 0x00445566);
    engine.ASM_PalEffects(7);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].record.opCode, 5);
    EXPECT_EQ(calls[0].record.amount, -300);
    EXPECT_EQ(calls[0].record.colour, 0x00445566u);
    EXPECT_EQ(calls[1].record.amount, 1);
    EXPECT_EQ(calls[1].record.colour, 0x00112233u) << "a left-out colour is the box's background";
    for (const SpyCall& call : calls) {
        EXPECT_EQ(call.a, 0x40000000u);
        EXPECT_EQ(call.b, 0x40400000u);
        EXPECT_EQ(call.c, 4);
        EXPECT_EQ(call.record.width, 7);
        EXPECT_EQ(call.record.height, 5);
        EXPECT_EQ(call.record.surface, engine.surface().base());
    }
}

TEST_F(HostSequenceTest, IncrementalEffectsAlwaysPassTheBackgroundColour) {
    const std::int32_t opCode = 3;
    engine.ASM_IncrementalPalEffects(opCode);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].record.colour, 0x00112233u);
    EXPECT_EQ(calls[0].record.amount, 1);
    EXPECT_EQ(calls[0].a, 0x40000000u);
}

TEST_F(HostSequenceTest, EveryNoiseStepStartsFromTheSameRandomValue) {
    const std::int32_t noise = 10;
    engine.ASM_IncrementalPalEffects(noise, 2);
    platform::sharedRandom().draw();  // other effects may draw in between
    engine.ASM_IncrementalPalEffects(noise, 2);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].a, calls[1].a);
    EXPECT_NE(calls[0].a, 0x40000000u);

    platform::RandomSource reference;
    reference.draw(-1.0f);
    reference.seed(1.0);
    EXPECT_EQ(calls[0].a, singleBits(reference.draw() * 255.0f));
}

TEST_F(HostSequenceTest, TheRandomSourceIsLeftInTheSameStateByEveryIncrementalCall) {
    const std::int32_t redPlus = 0;
    engine.ASM_IncrementalPalEffects(redPlus);
    const float first = platform::sharedRandom().draw();
    engine.ASM_IncrementalPalEffects(redPlus);
    EXPECT_EQ(platform::sharedRandom().draw(), first);
}

TEST_F(HostSequenceTest, WithAutoDrawOffThereIsNeitherSnapshotNorDrawing) {
    engine.setAutoDraw(false);
    const auto shown = testing::shownWords(*box);
    testing::fillPlane(engine, 3, 0x00010203);
    engine.ASM_PalEffects(11);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(testing::planeWords(engine, 3), std::vector<std::uint32_t>(35, 0x00010203));
    EXPECT_EQ(testing::shownWords(*box), shown);
}

TEST_F(HostSequenceTest, WithoutABoxTheKernelIsNeverEntered) {
    clsASMpic unbound{KernelTable{.palEffects = spyKernel}};
    unbound.ASM_PalEffects(11);
    unbound.ASM_IncrementalPalEffects(10);
    EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace quillon
