// What every operation hands its kernel: which kernel, the record and the three
// arguments, left-out arguments included. A spy stands in for all five kernels.
#include <gtest/gtest.h>

#include <QTime>
#include <functional>

#include "platform/core/RandomSource.h"
#include "platform/core/SystemTimer.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/KernelSpy.h"
#include "engine/PixelEffectsKernel.h"

namespace quillon {
namespace {

using testsupport::KernelSlot;
using testsupport::SpiedCall;

constexpr std::uint32_t kBack = 0x00112233;
constexpr double kNoon = 43200.25;

class KernelArgumentsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::overrideSystemTimer(kNoon);
        box = testing::makeBox(7, 5, testing::patternPicture(7, 5));
        box->setBackColor(kBack);
        engine.setPictureBox(*box);
        // What lives only during the call: the wave's max(W, H) values at c, and the
        // number colour X effects pass the address of (kept in place of c).
        spy.onCall = [this](SpiedCall& call) {
            if (call.slot == KernelSlot::PixelEffects && call.record.opCode == 3) {
                const auto* values = reinterpret_cast<const float*>(call.c);
                tables.emplace_back(values, values + 7);
            }
            if (call.slot == KernelSlot::ColorXEffects)
                call.c = *reinterpret_cast<const std::int32_t*>(call.c);
        };
    }
    void TearDown() override { platform::overrideSystemTimer(std::nullopt); }

    // The numbers the shared source gives once re-seeded with `seed` from a known state.
    static platform::RandomSource reseeded(double seed) {
        platform::RandomSource reference;
        reference.draw(-1.0f);
        reference.seed(seed);
        return reference;
    }

    testing::EngineFixtureEnvironment env;
    testsupport::KernelSpy spy;
    std::vector<std::vector<float>> tables;
    clsASMpic engine{testsupport::KernelSpy::table()};
    std::unique_ptr<platform::PictureBoxModel> box;
};

struct ExpectedCall {
    std::function<void(clsASMpic&)> operation;
    KernelSlot slot;
    std::int32_t opCode, amount;  // the amount stays as the last operation that sets it left it
    std::uint32_t colour;
    KernelArgument a, b;
    KernelPointerArgument c;
};

std::vector<ExpectedCall> expectedCalls() {
    const KernelArgument two = kSingleTwo, three = kSingleThree;
    const KernelArgument halfW = singleBits(3.0f), halfH = singleBits(2.0f);  // 7 div 2, 5 div 2
    std::vector<ExpectedCall> calls{
        {[](clsASMpic& e) { e.ASM_PalEffects(5, -300, 0x00445566); }, KernelSlot::PalEffects, 5,
         -300, 0x00445566, two, three, 4},
        {[](clsASMpic& e) { e.ASM_PalEffects(7); }, KernelSlot::PalEffects, 7, 1, kBack, two, three,
         4},
        {[](clsASMpic& e) { e.ASM_IncrementalPalEffects(3); }, KernelSlot::PalEffects, 3, 1, kBack,
         two, three, 4},
        {[](clsASMpic& e) { e.ASM_PixelEffects(0); }, KernelSlot::PixelEffects, 0, 1, kBack, two,
         three, 4},
    };
    for (std::int32_t op : {0, 1, 2, 4, 5}) {
        calls.push_back({[op](clsASMpic& e) { e.ASM_PixelEffects(op, -300, 0x00445566); },
                         KernelSlot::PixelEffects, op, -300, 0x00445566, two, three, 4});
    }
    const std::vector<ExpectedCall> turnsAndZooms{
        {[](clsASMpic& e) { e.ASM_PalEffects(0, 77); }, KernelSlot::PalEffects, 0, 77, kBack, two,
         three, 4},
        {[](clsASMpic& e) { e.ASM_Magnify(2.0f); }, KernelSlot::Magnify, 0, 77, kBack, halfW, halfH,
         20},
        {[](clsASMpic& e) { e.ASM_Magnify(1.0f, 0.1, 4.0, true, 0x00445566); }, KernelSlot::Magnify,
         1, 77, 0x00445566, singleBits(0.1f), singleBits(4.0f), 10},
        {[](clsASMpic& e) { e.ASM_Rotate(90); }, KernelSlot::Rotation, 2, 77, kBack, halfW, halfH,
         450},
        {[](clsASMpic& e) { e.ASM_Rotate(-45, true, false, 0x7F445566, 2.5, -1.25); },
         KernelSlot::Rotation, 1, 77, 0x7F445566, singleBits(2.5f), singleBits(-1.25f), 315},
        {[](clsASMpic& e) { e.ASM_Rotate(-32768, false, false, -7, {}, 4.0); },
         KernelSlot::Rotation, 0, 77, kBack, halfW, singleBits(4.0f), -32408},
        {[](clsASMpic& e) { e.ASM_Rotate(1, true, true); }, KernelSlot::Rotation, 3, 77, kBack,
         halfW, halfH, 361},
        {[](clsASMpic& e) { e.ASM_Rotate(32407); }, KernelSlot::Rotation, 2, 77, kBack, halfW,
         halfH, 32767},
    };
    calls.insert(calls.end(), turnsAndZooms.begin(), turnsAndZooms.end());
    // A negative colour is passed on unchanged; c is the address of 99.
    for (std::int32_t op = 1; op <= 9; ++op) {
        const KernelArgument a = op <= 3 ? two : op <= 8 ? singleBits(0.9f) : halfW;
        const KernelArgument b = op <= 3 ? three : op <= 8 ? singleBits(0.1f) : halfH;
        calls.push_back({[op](clsASMpic& e) { e.ASM_ColorXEffects(op, -2, std::int16_t(-op)); },
                         KernelSlot::ColorXEffects, op, -op, 0xFFFFFFFE, a, b, 99});
    }
    calls.push_back({[](clsASMpic& e) { e.ASM_ColorXEffects(9, 0x00123456, 3, 2.5, 1e-3); },
                     KernelSlot::ColorXEffects, 9, 3, 0x00123456, singleBits(2.5f),
                     singleBits(1e-3f), 99});
    return calls;
}

TEST_F(KernelArgumentsTest, EachOperationFillsTheRecordAndArgumentsOfItsKernel) {
    const std::vector<ExpectedCall> expected = expectedCalls();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "call " << i);
        spy.calls.clear();
        expected[i].operation(engine);
        ASSERT_EQ(spy.calls.size(), 1u);
        const SpiedCall& call = spy.calls[0];
        EXPECT_EQ(call.slot, expected[i].slot);
        EXPECT_EQ(call.record.width, 7);
        EXPECT_EQ(call.record.height, 5);
        EXPECT_EQ(call.record.surface, engine.surface().base());
        EXPECT_EQ(call.record.opCode, expected[i].opCode);
        EXPECT_EQ(call.record.amount, expected[i].amount);
        EXPECT_EQ(call.record.colour, expected[i].colour);
        EXPECT_EQ(call.a, expected[i].a);
        EXPECT_EQ(call.b, expected[i].b);
        EXPECT_EQ(call.c, expected[i].c);
    }
}

TEST_F(KernelArgumentsTest, MagnifyFactorGoesInTenthsRoundedHalvesToEven) {
    // The last two are the ends of the range.
    const float factors[] = {2.5f,   0.25f, 0.35f, 0.75f,        -1.5f,
                             -0.25f, 0.04f, -0.0f, 214748352.0f, -214748352.0f};
    const std::int32_t tenths[] = {25, 2, 3, 8, -15, -2, 0, 0, 2147483520, -2147483520};
    for (std::size_t i = 0; i < std::size(factors); ++i) {
        spy.calls.clear();
        engine.ASM_Magnify(factors[i]);
        ASSERT_EQ(spy.calls.size(), 1u);
        EXPECT_EQ(spy.calls[0].c, tenths[i]) << factors[i];
    }
}

TEST_F(KernelArgumentsTest, WaveGetsATableAsLongAsTheLongerSide) {
    for (std::int16_t amount : {1, 3, -32768}) engine.ASM_PixelEffects(3, amount);
    ASSERT_EQ(tables.size(), 3u);
    EXPECT_EQ(tables[0], waveTable(7, 5, 1));
    EXPECT_EQ(tables[1], waveTable(7, 5, 3));
    EXPECT_EQ(tables[2], std::vector<float>(7, 1.0f)) << "every row clamps to the bottom";
}

// Every incremental step restarts the shared random source, so each noise step starts
// from the same value whatever was drawn in between.
TEST_F(KernelArgumentsTest, IncrementalStepsRestartTheRandomSourceEachTime) {
    const std::int32_t redPlus = 0, noise = 10;
    engine.ASM_IncrementalPalEffects(redPlus);
    EXPECT_EQ(platform::sharedRandom().draw(), reseeded(1.0).draw());
    engine.ASM_IncrementalPalEffects(noise, 2);
    platform::sharedRandom().draw();
    engine.ASM_IncrementalPalEffects(noise, 2);
    ASSERT_EQ(spy.calls.size(), 3u);
    EXPECT_EQ(spy.calls[0].a, kSingleTwo);
    EXPECT_EQ(spy.calls[1].a, singleBits(reseeded(1.0).draw() * 255.0f));
    EXPECT_EQ(spy.calls[2].a, spy.calls[1].a);
}

TEST_F(KernelArgumentsTest, RandomDotsTakeTwoFreshNumbersEachFromTheClock) {
    platform::RandomSource reference = reseeded(kNoon);
    platform::sharedRandom().draw(-1.0f);
    engine.ASM_ColorXEffects(0, 0x00FF00);
    ASSERT_EQ(spy.calls.size(), 20u);
    for (const SpiedCall& call : spy.calls) {
        EXPECT_EQ(call.a, singleBits(reference.draw()));
        EXPECT_EQ(call.b, singleBits(reference.draw()));
        EXPECT_EQ(call.c, 99);
    }
    spy.calls.clear();
    engine.ASM_ColorXEffects(0, 0x00FF00, 1638);
    EXPECT_EQ(spy.calls.size(), 32760u);
    spy.calls.clear();
    engine.ASM_ColorXEffects(0, 0x00FF00, 0);
    engine.ASM_ColorXEffects(0, 0x00FF00, -1638);
    EXPECT_TRUE(spy.calls.empty());
}

TEST_F(KernelArgumentsTest, ColourXEffectsReseedFromTheSystemTimerOnEveryCall) {
    for (std::int32_t op : {5, 42}) {
        platform::RandomSource reference = reseeded(kNoon);
        platform::sharedRandom().draw(-1.0f);
        engine.ASM_ColorXEffects(op, 0);
        EXPECT_EQ(platform::sharedRandom().draw(), reference.draw()) << "op " << op;
    }
    // Without the test's clock, the seed is the time of day in seconds.
    platform::overrideSystemTimer(std::nullopt);
    EXPECT_NEAR(platform::systemTimer(), QTime::currentTime().msecsSinceStartOfDay() / 1000.0, 1.0);
}

}  // namespace
}  // namespace quillon
