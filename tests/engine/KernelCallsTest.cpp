// What every operation hands its kernel (which kernel, the record, the three arguments)
// and the sequence around the call: snapshot (when drawing automatically, and not for a
// turn of the original picture), kernel, drawing; or, when its own arithmetic overflows,
// an error before the kernel. A spy stands in for the five kernels.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <stdexcept>

#include "engine/PixelEffectsKernel.h"
#include "platform/core/RandomSource.h"
#include "platform/core/SystemTimer.h"
#include "tests/engine/EngineTestSupport.h"

namespace quillon {
namespace {

using testing::fillPlane;
using testing::planeWords;
using testing::shownWords;
using testsupport::KernelSlot;
using testsupport::SpiedCall;
using Operation = std::function<void(clsASMpic&)>;

constexpr std::uint32_t kBack = 0x00112233;
constexpr std::uint32_t kSpyMark = 0x00ABCDEF;
constexpr double kNoon = 43200.25;

class KernelCallsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::overrideSystemTimer(kNoon);
        box = testing::makeBox(7, 5, testing::patternPicture(7, 5));
        box->setBackColor(kBack);
        engine.setPictureBox(*box);
        // What exists only during the call: the undo plane and the box as they are then,
        // the wave's table at c and the number colour X effects pass the address of (kept
        // in place of c). Then a mark in the first working pixel to see the drawing.
        spy.onCall = [this](SpiedCall& call) {
            undoAtCall.push_back(planeWords(engine, 3));
            shownAtCall.push_back(shownWords(*box));
            if (call.slot == KernelSlot::PixelEffects && call.record.opCode == 3) {
                const auto* values = reinterpret_cast<const float*>(call.c);
                tables.emplace_back(values, values + 7);
            }
            if (call.slot == KernelSlot::ColorXEffects)
                call.c = *reinterpret_cast<const std::int32_t*>(call.c);
            std::memcpy(planeStart(call.record, SurfacePlane::Working), &kSpyMark, 4);
        };
    }
    void TearDown() override { platform::overrideSystemTimer(std::nullopt); }
    void clear() { spy.calls.clear(), undoAtCall.clear(), shownAtCall.clear(); }

    // The numbers the shared source gives once re-seeded with `seed` from a known state.
    static platform::RandomSource reseeded(double seed) {
        platform::RandomSource reference;
        reference.draw(-1.0f);
        reference.seed(seed);
        return reference;
    }

    testing::EngineFixtureEnvironment env;
    testsupport::KernelSpy spy;
    std::vector<std::vector<std::uint32_t>> undoAtCall, shownAtCall;
    std::vector<std::vector<float>> tables;
    clsASMpic engine{testsupport::KernelSpy::table()};
    std::unique_ptr<platform::PictureBoxModel> box;
};

struct ExpectedCall {
    Operation operation;
    KernelSlot slot;
    std::int32_t opCode, amount;  // the amount stays as the last operation that sets it left it
    std::uint32_t colour;
    KernelArgument a, b;
    KernelPointerArgument c;
};

std::vector<ExpectedCall> expectedCalls() {
    const KernelArgument two = kSingleTwo, three = kSingleThree;
    const KernelArgument halfW = singleBits(3.0f), halfH = singleBits(2.0f);  // 7 div 2, 5 div 2
    const auto pal = KernelSlot::PalEffects, pixel = KernelSlot::PixelEffects;
    const auto zoom = KernelSlot::Magnify, turn = KernelSlot::Rotation;
    std::vector<ExpectedCall> calls{
        {[](clsASMpic& e) { e.ASM_PalEffects(5, -300, 0x00445566); }, pal, 5, -300, 0x00445566, two,
         three, 4},
        {[](clsASMpic& e) { e.ASM_PalEffects(7); }, pal, 7, 1, kBack, two, three, 4},
        {[](clsASMpic& e) { e.ASM_IncrementalPalEffects(3); }, pal, 3, 1, kBack, two, three, 4},
        {[](clsASMpic& e) { e.ASM_PixelEffects(0); }, pixel, 0, 1, kBack, two, three, 4},
        {[](clsASMpic& e) { e.ASM_PixelEffects(5, -300, 0x00445566); }, pixel, 5, -300, 0x00445566,
         two, three, 4},
        {[](clsASMpic& e) { e.ASM_PalEffects(0, 77); }, pal, 0, 77, kBack, two, three, 4},
        {[](clsASMpic& e) { e.ASM_Magnify(2.0f); }, zoom, 0, 77, kBack, halfW, halfH, 20},
        {[](clsASMpic& e) { e.ASM_Magnify(1.0f, 0.1, 4.0, true, 0x00445566); }, zoom, 1, 77,
         0x00445566, singleBits(0.1f), singleBits(4.0f), 10},
        {[](clsASMpic& e) { e.ASM_Rotate(90); }, turn, 2, 77, kBack, halfW, halfH, 450},
        {[](clsASMpic& e) { e.ASM_Rotate(-45, true, false, 0x7F445566, 2.5, -1.25); }, turn, 1, 77,
         0x7F445566, singleBits(2.5f), singleBits(-1.25f), 315},
        {[](clsASMpic& e) { e.ASM_Rotate(-32768, false, false, -7, {}, 4.0); }, turn, 0, 77, kBack,
         halfW, singleBits(4.0f), -32408},
        {[](clsASMpic& e) { e.ASM_Rotate(1, true, true); }, turn, 3, 77, kBack, halfW, halfH, 361},
        {[](clsASMpic& e) { e.ASM_Rotate(32407); }, turn, 2, 77, kBack, halfW, halfH, 32767},
        {[](clsASMpic& e) { e.ASM_ColorXEffects(9, 0x00123456, 3, 2.5, 1e-3); },
         KernelSlot::ColorXEffects, 9, 3, 0x00123456, singleBits(2.5f), singleBits(1e-3f), 99}};
    // A negative colour is passed on unchanged; c is the address of 99.
    for (std::int32_t op = 1; op <= 9; ++op) {
        const KernelArgument a = op <= 3 ? two : op <= 8 ? singleBits(0.9f) : halfW;
        const KernelArgument b = op <= 3 ? three : op <= 8 ? singleBits(0.1f) : halfH;
        calls.push_back({[op](clsASMpic& e) { e.ASM_ColorXEffects(op, -2, std::int16_t(-op)); },
                         KernelSlot::ColorXEffects, op, -op, 0xFFFFFFFE, a, b, 99});
    }
    return calls;
}

TEST_F(KernelCallsTest, EachOperationFillsTheRecordAndArgumentsOfItsKernel) {
    const std::vector<ExpectedCall> expected = expectedCalls();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "call " << i);
        clear();
        expected[i].operation(engine);
        ASSERT_EQ(spy.calls.size(), 1u);
        const SpiedCall& call = spy.calls[0];
        EXPECT_EQ(call.slot, expected[i].slot);
        EXPECT_EQ(std::tuple(call.record.width, call.record.height, call.record.surface),
                  std::tuple(7, 5, engine.surface().base()));
        EXPECT_EQ(std::tuple(call.record.opCode, call.record.amount, call.record.colour),
                  std::tuple(expected[i].opCode, expected[i].amount, expected[i].colour));
        EXPECT_EQ(std::tuple(call.a, call.b, call.c),
                  std::tuple(expected[i].a, expected[i].b, expected[i].c));
    }
    // The magnify factor goes in tenths, halves to even; the last two are the range's ends.
    const float factors[] = {2.5f, 0.25f, 0.35f, -0.25f, 0.04f, -0.0f, 214748352.0f, -214748352.0f};
    const std::int32_t tenths[] = {25, 2, 3, -2, 0, 0, 2147483520, -2147483520};
    for (std::size_t i = 0; i < std::size(factors); ++i) {
        clear();
        engine.ASM_Magnify(factors[i]);
        ASSERT_EQ(spy.calls.size(), 1u);
        EXPECT_EQ(spy.calls[0].c, tenths[i]) << factors[i];
    }
    // The wave gets a table as long as the longer side.
    for (std::int16_t amount : {1, 3, -32768}) engine.ASM_PixelEffects(3, amount);
    EXPECT_EQ(tables,
              (std::vector{waveTable(7, 5, 1), waveTable(7, 5, 3), std::vector<float>(7, 1.0f)}));
}

// Every incremental step restarts the shared random source, so each noise step starts from
// the same value whatever was drawn in between; colour X effects re-seed from the clock,
// and random dots take two fresh numbers each.
TEST_F(KernelCallsTest, RandomNumbersComeFromTheirOwnSeeds) {
    engine.ASM_IncrementalPalEffects(0);
    EXPECT_EQ(platform::sharedRandom().draw(), reseeded(1.0).draw());
    engine.ASM_IncrementalPalEffects(10, 2);
    platform::sharedRandom().draw();
    engine.ASM_IncrementalPalEffects(10, 2);
    ASSERT_EQ(spy.calls.size(), 3u);
    EXPECT_EQ(spy.calls[0].a, kSingleTwo);
    EXPECT_EQ(spy.calls[1].a, singleBits(reseeded(1.0).draw() * 255.0f));
    EXPECT_EQ(spy.calls[2].a, spy.calls[1].a);

    // Colour X re-seeds from the clock (op 5 here, and one no kernel knows); the dots then
    // take two numbers each, 20 dots per step of the amount.
    for (std::int32_t op : {5, 42, 0}) {
        platform::RandomSource reference = reseeded(kNoon);
        platform::sharedRandom().draw(-1.0f);
        clear();
        engine.ASM_ColorXEffects(op, 0);
        for (const SpiedCall& call : op == 0 ? spy.calls : std::vector<SpiedCall>{}) {
            EXPECT_EQ(call.a, singleBits(reference.draw()));
            EXPECT_EQ(call.b, singleBits(reference.draw()));
        }
        EXPECT_EQ(platform::sharedRandom().draw(), reference.draw()) << "op " << op;
    }
    EXPECT_EQ(spy.calls.size(), 20u);
    for (std::int16_t amount : {1638, 0, -1638}) {
        clear();
        engine.ASM_ColorXEffects(0, 0x00FF00, amount);
        EXPECT_EQ(spy.calls.size(), amount > 0 ? 32760u : 0u);
    }
}

struct Effect {
    const char* name;
    Operation run;
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

TEST_F(KernelCallsTest, SnapshotsIfItShouldThenCallsTheKernelThenDraws) {
    const std::vector<std::uint32_t> cleared(35, 0);
    for (const Effect& effect : kEffects) {
        SCOPED_TRACE(effect.name);
        engine.ResetPic();
        fillPlane(engine, 3, 0);
        const auto before = planeWords(engine, 2), shown = shownWords(*box);
        clear();
        effect.run(engine);
        ASSERT_EQ(spy.calls.size(), 1u);
        EXPECT_EQ(undoAtCall[0], effect.snapshots ? before : cleared);
        EXPECT_EQ(shownAtCall[0], shown) << "nothing is drawn before the kernel";
        EXPECT_EQ(shownWords(*box)[0], kSpyMark) << "the result is drawn after it";
        EXPECT_EQ(planeWords(engine, 3), undoAtCall[0]);
    }
    // With automatic drawing off there is neither snapshot nor drawing.
    engine.setAutoDraw(false);
    const auto shown = shownWords(*box);
    for (const Effect& effect : kEffects) {
        fillPlane(engine, 3, 0x00010203);
        clear();
        effect.run(engine);
        EXPECT_EQ(spy.calls.size(), 1u) << effect.name;
        EXPECT_EQ(planeWords(engine, 3), std::vector<std::uint32_t>(35, 0x00010203)) << effect.name;
        EXPECT_EQ(shownWords(*box), shown) << effect.name;
    }
}

// Op codes no kernel knows still snapshot and redraw; nothing to turn does neither.
TEST_F(KernelCallsTest, UnknownOpCodesAndNothingToTurnSkipTheKernel) {
    const Operation unknown[] = {[](clsASMpic& e) { e.ASM_PixelEffects(6, 1, 0); },
                                 [](clsASMpic& e) { e.ASM_PixelEffects(-1, 1, 0); },
                                 [](clsASMpic& e) { e.ASM_PixelEffects(1000, 1, 0); },
                                 [](clsASMpic& e) { e.ASM_ColorXEffects(-1, 0); },
                                 [](clsASMpic& e) { e.ASM_ColorXEffects(10, 0); }};
    for (std::uint32_t i = 0; i < std::size(unknown); ++i) {
        fillPlane(engine, 2, 0x00ABCD00 + i);
        fillPlane(engine, 3, 0);
        const auto working = planeWords(engine, 2);
        unknown[i](engine);
        EXPECT_EQ(planeWords(engine, 3), working) << i;
        EXPECT_EQ(planeWords(engine, 2), working) << i;
        EXPECT_EQ(shownWords(*box), working) << i;
    }
    fillPlane(engine, 2, 0x00ABCDEF);
    const auto undo = planeWords(engine, 3), shown = shownWords(*box);
    engine.ASM_Rotate(0, true, false, 0x00445566, 1.0, 1.0);
    engine.ASM_Rotate(0);
    EXPECT_EQ(planeWords(engine, 3), undo);
    EXPECT_EQ(shownWords(*box), shown);
    auto empty = testing::makeBox(0, 4, testing::patternPicture(0, 4));
    engine.setPictureBox(*empty);
    ASSERT_EQ(engine.boundBox(), empty.get());
    engine.ASM_Rotate(90, true, false);
    EXPECT_TRUE(spy.calls.empty());
    EXPECT_TRUE(env.messages.shown().empty());
}

TEST_F(KernelCallsTest, AnOverflowStopsBeforeTheKernelWithThePictureUnchanged) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const Effect overflows[] = {
        {"factor x 10 above 32 bits", [](clsASMpic& e) { e.ASM_Magnify(214748368.0f); }, true},
        {"factor x 10 below 32 bits", [](clsASMpic& e) { e.ASM_Magnify(-214748368.0f); }, true},
        {"factor infinite", [](clsASMpic& e) { e.ASM_Magnify(kInf); }, true},
        {"factor not a number", [](clsASMpic& e) { e.ASM_Magnify(-kInf * 0.0f); }, true},
        {"magnify centre beyond floats", [](clsASMpic& e) { e.ASM_Magnify(1.0f, 1e39); }, true},
        {"working turn 32408 + 360", [](clsASMpic& e) { e.ASM_Rotate(32408, false, false); }, true},
        {"original turned 32767 + 360", [](clsASMpic& e) { e.ASM_Rotate(32767); }, false},
        {"turn centre beyond floats", [](clsASMpic& e) { e.ASM_Rotate(5, 0, 1, -1, 1e39); }, false},
        {"1639 x 20 dots", [](clsASMpic& e) { e.ASM_ColorXEffects(0, 0, 1639); }, true},
        {"-1639 x 20 dots", [](clsASMpic& e) { e.ASM_ColorXEffects(0, 0, -1639); }, true},
    };
    const std::vector<std::uint32_t> marked(35, kSpyMark), cleared(35, 0);
    for (const Effect& overflow : overflows) {
        fillPlane(engine, 2, kSpyMark);
        fillPlane(engine, 3, 0);
        const auto shown = shownWords(*box);
        EXPECT_THROW(overflow.run(engine), std::overflow_error) << overflow.name;
        EXPECT_EQ(planeWords(engine, 3), overflow.snapshots ? marked : cleared) << overflow.name;
        EXPECT_EQ(planeWords(engine, 2), marked) << overflow.name;
        EXPECT_EQ(shownWords(*box), shown) << overflow.name << ": nothing is drawn";
    }
    EXPECT_TRUE(spy.calls.empty());
}

}  // namespace
}  // namespace quillon
