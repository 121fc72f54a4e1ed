// Operations with the real kernels on the smallest pictures and with absurd arguments.
// Nothing here may fault; a sanitizer build sees any stray access.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "tests/engine/EngineTestSupport.h"

namespace quillon {
namespace {

constexpr int kTinySizes[][2] = {{1, 1}, {2, 5}, {5, 2}};
constexpr std::uint32_t kBoxColour = 0x00112233;
constexpr std::uint32_t kBoxColourWord = 0x00332211;  // as a pixel: blue, green, red

class TinyPictureOperations : public ::testing::Test {
protected:
    void bindTo(int w, int h) {
        box = testing::makeBox(w, h, testing::patternPicture(w, h));
        box->setBackColor(kBoxColour);
        engine.emplace();
        engine->setPictureBox(*box);
    }

    testing::EngineFixtureEnvironment env;
    std::unique_ptr<platform::PictureBoxModel> box;
    std::optional<clsASMpic> engine;
};

// A centre that is not a number leaves nothing to show but the background.
TEST_F(TinyPictureOperations, MagnifyStaysInsideTheSurface) {
    const float factors[] = {0.0f, -1.0f, -3.7f, 0.5f, 2e8f, -2e8f, 1e-9f};
    const clsASMpic::Centre centres[] = {{}, 0.0, -1e30, 1e30, 0.5, 1e5};
    for (const auto& [w, h] : kTinySizes) {
        bindTo(w, h);
        const auto original = testing::planeWords(*engine, 1);
        for (float factor : factors) {
            for (const auto& centre : centres) {
                engine->ASM_Magnify(factor, centre, centre, false);
                engine->ASM_Magnify(factor, centre, centre, true);
            }
        }
        engine->ASM_Magnify(1.0f, std::numeric_limits<double>::quiet_NaN(), {}, true);
        EXPECT_EQ(testing::planeWords(*engine, 2),
                  std::vector<std::uint32_t>(w * h, kBoxColourWord));
        EXPECT_EQ(testing::planeWords(*engine, 1), original);
    }
}

TEST_F(TinyPictureOperations, ColourXEffectsTakeEveryOpCodeAndAmount) {
    for (const auto& [w, h] : kTinySizes) {
        bindTo(w, h);
        const auto original = testing::planeWords(*engine, 1);
        for (std::int32_t op = -1; op <= 10; ++op) {
            for (std::int16_t amount : {-32768, -1, 0, 1, 2, 18, 1638, 32767}) {
                const bool overflows = op == 0 && (amount < -1638 || amount > 1638);
                if (overflows) {
                    EXPECT_THROW(engine->ASM_ColorXEffects(op, 0x00102030, amount),
                                 std::overflow_error);
                } else {
                    engine->ASM_ColorXEffects(op, 0x00102030, amount);
                }
                engine->ASM_ColorXEffects(op, 0x00102030, amount == 18 ? 1 : 0, 1e6, -1e6);
            }
        }
        EXPECT_EQ(testing::planeWords(*engine, 1), original);
    }
}

}  // namespace
}  // namespace quillon
