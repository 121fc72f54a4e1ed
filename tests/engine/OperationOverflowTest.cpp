// An operation whose own arithmetic overflows raises an error after its snapshot (if it
// takes one) and before its kernel: the picture and what the box shows stay as they were.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>

#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/KernelSpy.h"

namespace quillon {
namespace {

struct Overflow {
    const char* what;
    std::function<void(clsASMpic&)> operation;
    bool snapshots;
};

TEST(OperationOverflow, StopsBeforeTheKernelWithThePictureUnchanged) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const Overflow overflows[] = {
        {"factor x 10 above 32 bits", [](clsASMpic& e) { e.ASM_Magnify(214748368.0f); }, true},
        {"factor x 10 below 32 bits", [](clsASMpic& e) { e.ASM_Magnify(-214748368.0f); }, true},
        {"factor 3e9", [](clsASMpic& e) { e.ASM_Magnify(3e9f); }, true},
        {"factor infinite", [](clsASMpic& e) { e.ASM_Magnify(kInf); }, true},
        {"factor minus infinite", [](clsASMpic& e) { e.ASM_Magnify(-kInf); }, true},
        {"factor not a number",
         [](clsASMpic& e) { e.ASM_Magnify(std::numeric_limits<float>::quiet_NaN()); }, true},
        {"magnify centre beyond single precision", [](clsASMpic& e) { e.ASM_Magnify(1.0f, 1e39); },
         true},
        {"working picture turned 32408 + 360",
         [](clsASMpic& e) { e.ASM_Rotate(32408, false, false); }, true},
        {"original turned 32767 + 360", [](clsASMpic& e) { e.ASM_Rotate(32767); }, false},
        {"turn centre beyond single precision",
         [](clsASMpic& e) { e.ASM_Rotate(5, false, true, -1, 1e39); }, false},
        {"1639 x 20 dots", [](clsASMpic& e) { e.ASM_ColorXEffects(0, 0, 1639); }, true},
        {"-1639 x 20 dots", [](clsASMpic& e) { e.ASM_ColorXEffects(0, 0, -1639); }, true},
        {"32767 x 20 dots", [](clsASMpic& e) { e.ASM_ColorXEffects(0, 0, 32767); }, true},
        {"-32768 x 20 dots", [](clsASMpic& e) { e.ASM_ColorXEffects(0, 0, -32768); }, true},
    };
    testing::EngineFixtureEnvironment env;
    testsupport::KernelSpy spy;
    clsASMpic engine{testsupport::KernelSpy::table()};
    auto box = testing::makeBox(7, 5, testing::patternPicture(7, 5));
    engine.setPictureBox(*box);
    const std::vector<std::uint32_t> marked(35, 0x00ABCDEF), cleared(35, 0);
    for (const Overflow& overflow : overflows) {
        testing::fillPlane(engine, 2, 0x00ABCDEF);
        testing::fillPlane(engine, 3, 0);
        const auto shown = testing::shownWords(*box);
        EXPECT_THROW(overflow.operation(engine), std::overflow_error) << overflow.what;
        EXPECT_EQ(testing::planeWords(engine, 3), overflow.snapshots ? marked : cleared)
            << overflow.what << ": the snapshot stays taken";
        EXPECT_EQ(testing::planeWords(engine, 2), marked) << overflow.what;
        EXPECT_EQ(testing::shownWords(*box), shown) << overflow.what << ": nothing is drawn";
    }
    EXPECT_TRUE(spy.calls.empty());
}

}  // namespace
}  // namespace quillon
