// ASM_ColorXEffects: what it hands the kernel and how often, the dot count's overflow
// error, the random source re-seeded from the clock, and the real kernel end to end.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/RandomSource.h"
#include "platform/SystemTimer.h"
#include "tests/engine/ColorXTestSupport.h"
#include "tests/engine/EngineTestSupport.h"

namespace quillon {
namespace {

struct SpyCall {
    KernelParameterRecord record;
    KernelArgument a, b;
    std::int32_t pointee;  // what c points at
};
std::vector<SpyCall> calls;

void spyKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
               KernelPointerArgument c) {
    calls.push_back({*record, a, b, *reinterpret_cast<const std::int32_t*>(c)});
}

constexpr double kNoon = 43200.25;

class ColorXOperation : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        platform::overrideSystemTimer(kNoon);
        box = testing::makeBox(7, 5, testing::patternPicture(7, 5));
        spied.setPictureBox(*box);
    }
    void TearDown() override { platform::overrideSystemTimer(std::nullopt); }

    // The numbers the shared source gives after the operation re-seeds it from a known
    // state.
    static platform::RandomSource reseededReference() {
        platform::sharedRandom().draw(-1.0f);
        platform::RandomSource reference;
        reference.draw(-1.0f);
        reference.seed(kNoon);
        return reference;
    }

    testing::EngineFixtureEnvironment env;
    clsASMpic spied{KernelTable{.colorXEffects = spyKernel}};
    std::unique_ptr<platform::PictureBoxModel> box;
};

TEST_F(ColorXOperation, EachOpCodeFamilyGetsItsArguments) {
    for (std::int32_t op = 1; op <= 9; ++op) spied.ASM_ColorXEffects(op, -2, std::int16_t(-op));
    spied.ASM_ColorXEffects(9, 0x00123456, 3, 2.5, 1e-3);
    ASSERT_EQ(calls.size(), 10u);
    for (std::int32_t op = 1; op <= 9; ++op) {
        const SpyCall& call = calls[std::size_t(op - 1)];
        EXPECT_EQ(call.record.opCode, op);
        EXPECT_EQ(call.record.amount, -op);
        EXPECT_EQ(call.record.colour, 0xFFFFFFFEu) << "a negative colour is passed unchanged";
        EXPECT_EQ(call.pointee, 99);
        const KernelArgument a = op <= 3 ? 0x40000000 : op <= 8 ? 0x3F666666 : singleBits(3.0f);
        const KernelArgument b = op <= 3 ? 0x40400000 : op <= 8 ? 0x3DCCCCCD : singleBits(2.0f);
        EXPECT_EQ(call.a, a) << "op " << op;
        EXPECT_EQ(call.b, b) << "op " << op;
    }
    EXPECT_EQ(calls[9].a, singleBits(2.5f));
    EXPECT_EQ(calls[9].b, singleBits(1e-3f));
    EXPECT_EQ(calls[9].record.colour, 0x00123456u);
}

TEST_F(ColorXOperation, RandomDotsTakeTwoFreshNumbersEach) {
    platform::RandomSource reference = reseededReference();
    spied.ASM_ColorXEffects(0, 0x00FF00);
    ASSERT_EQ(calls.size(), 20u);
    for (const SpyCall& call : calls) {
        EXPECT_EQ(call.a, singleBits(reference.draw()));
        EXPECT_EQ(call.b, singleBits(reference.draw()));
        EXPECT_EQ(call.pointee, 99);
    }
    calls.clear();
    spied.ASM_ColorXEffects(0, 0x00FF00, 1638);
    EXPECT_EQ(calls.size(), 32760u);
    calls.clear();
    spied.ASM_ColorXEffects(0, 0x00FF00, 0);
    spied.ASM_ColorXEffects(0, 0x00FF00, -1638);
    EXPECT_TRUE(calls.empty());
}

TEST_F(ColorXOperation, DotCountOverflowStopsAfterTheSnapshotBeforeAnyDot) {
    for (std::int16_t amount : {1639, -1639, 32767, -32768}) {
        testing::fillPlane(spied, 2, 0x00ABCDEF);
        const auto shown = testing::shownWords(*box);
        EXPECT_THROW(spied.ASM_ColorXEffects(0, 0, amount), std::overflow_error);
        EXPECT_TRUE(calls.empty());
        EXPECT_EQ(testing::planeWords(spied, 3), testing::planeWords(spied, 2));
        EXPECT_EQ(testing::shownWords(*box), shown) << "no drawing";
    }
}

TEST_F(ColorXOperation, OtherOpCodesMakeNoCallButSnapshotAndDraw) {
    for (std::int32_t op : {-1, 10, 99}) {
        testing::fillPlane(spied, 2, 0x00000100 * std::uint32_t(op & 0xFF));
        spied.ASM_ColorXEffects(op, 0);
        EXPECT_EQ(testing::planeWords(spied, 3), testing::planeWords(spied, 2));
        EXPECT_EQ(testing::shownWords(*box), testing::planeWords(spied, 2));
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(ColorXOperation, ReseedsFromTheSystemTimerOnEveryCall) {
    for (std::int32_t op : {5, 42}) {
        platform::RandomSource reference = reseededReference();
        spied.ASM_ColorXEffects(op, 0);
        EXPECT_EQ(platform::sharedRandom().draw(), reference.draw()) << "op " << op;
    }
    platform::overrideSystemTimer(std::nullopt);
    const double now = platform::systemTimer();
    EXPECT_GE(now, 0.0);
    EXPECT_LT(now, 86400.0);
}

TEST_F(ColorXOperation, WithoutABoxNothingHappens) {
    clsASMpic unbound{KernelTable{.colorXEffects = spyKernel}};
    unbound.ASM_ColorXEffects(0, 0);
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(env.messages.shown().size(), 1u);
}

// The working plane after the real kernel, next to the reference applied to the plane
// as it was before (which the snapshot keeps in the undo plane).
void expectReferenceResult(clsASMpic& engine, const testsupport::ColorXCall& call) {
    const PixelSurface& surface = engine.surface();
    std::vector<std::uint8_t> before(surface.plane(3), surface.plane(3) + surface.planeBytes());
    std::vector<std::uint8_t> after(surface.plane(2), surface.plane(2) + surface.planeBytes());
    EXPECT_EQ(after, testsupport::referenceColorX(before, surface.width(), surface.height(), call));
    EXPECT_NE(after, before);
}

TEST(ColorXOperationEndToEnd, RingCentreRowsCountFromTheTop) {
    testing::EngineFixtureEnvironment env;
    auto box = testing::makeBox(9, 40, testing::patternPicture(9, 40));
    clsASMpic engine;
    engine.setPictureBox(*box);
    engine.ASM_ColorXEffects(9, 0x00FFFFFF, 1, 5.0, 0.0);
    expectReferenceResult(engine, {.opCode = 9, .colour = 0x00FFFFFF, .a = 5.0f, .b = 0.0f});
    const auto rows = testing::planeWords(engine, 2), original = testing::planeWords(engine, 1);
    EXPECT_TRUE(std::equal(rows.begin(), rows.begin() + 9 * 14, original.begin()))
        << "the bottom rows lie beyond the ring round the top row";

    engine.ASM_ColorXEffects(9, 0x00FFFFFF, 1);
    expectReferenceResult(engine, {.opCode = 9, .colour = 0x00FFFFFF, .a = 4.0f, .b = 20.0f});
    EXPECT_EQ(testing::shownWords(*box), testing::planeWords(engine, 2));
}

TEST(ColorXOperationEndToEnd, TinyPicturesTakeEveryOpCodeAndAmount) {
    testing::EngineFixtureEnvironment env;
    for (const auto& [w, h] : {std::pair{1, 1}, {2, 5}, {5, 2}}) {
        auto box = testing::makeBox(w, h, testing::patternPicture(w, h));
        clsASMpic engine;
        engine.setPictureBox(*box);
        const auto original = testing::planeWords(engine, 1);
        for (std::int32_t op = -1; op <= 10; ++op) {
            for (std::int16_t amount : {-32768, -1, 0, 1, 2, 18, 1638, 32767}) {
                const bool overflows = op == 0 && (amount < -1638 || amount > 1638);
                if (overflows) {
                    EXPECT_THROW(engine.ASM_ColorXEffects(op, 0x00102030, amount),
                                 std::overflow_error);
                } else {
                    engine.ASM_ColorXEffects(op, 0x00102030, amount);
                }
                engine.ASM_ColorXEffects(op, 0x00102030, amount == 18 ? 1 : 0, 1e6, -1e6);
            }
        }
        EXPECT_EQ(testing::planeWords(engine, 1), original);
    }
}

}  // namespace
}  // namespace quillon
