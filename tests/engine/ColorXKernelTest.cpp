// Colour X effects on small pictures whose outcome can be told by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/ColorXKernel.h"
#include "tests/engine/ColorXReference.h"

namespace quillon {
namespace {

using testsupport::ColorXCall;
using testsupport::KernelSurface;
using testsupport::pixelWord;

constexpr std::uint32_t kReserved = 0x5A000000;  // must survive every effect
constexpr std::uint32_t kGrey100 = kReserved | 0x646464;
constexpr std::uint32_t kWhite = kReserved | 0xFFFFFF;
constexpr std::uint32_t kGrey200 = 0x00C8C8C8;  // as colour X and as a pixel

void apply(KernelSurface& surface, const ColorXCall& call) {
    surface.run(colorXEffectsKernel, testsupport::kernelCall(call));
}

TEST(ColorXKernel, RandomDotsLandInsideThePicture) {
    const float justBelowOne = std::nextafter(1.0f, 0.0f);
    const struct {
        float a, b;
        std::int32_t x, y;  // 0: no dot
    } cases[] = {{0.0f, 0.0f, 1, 1},  {justBelowOne, justBelowOne, 10, 8},
                 {0.5f, 0.25f, 6, 3}, {0.75f, 0.0625f, 8, 2},
                 {-0.1f, 0.5f, 0, 0}, {0.5f, std::nanf(""), 0, 0}};
    for (const auto& c : cases) {
        KernelSurface surface(10, 8);
        surface.fill(2, kGrey100);
        apply(surface, {.opCode = 0, .amount = -5, .colour = 0x00332211, .a = c.a, .b = c.b});
        EXPECT_TRUE(surface.wordsAre(
            2,
            [&](int x, int y) { return x == c.x && y == c.y ? kReserved | 0x112233 : kGrey100; }))
            << "a " << c.a << " b " << c.b;
    }
}

// Which rows (or columns) of a 10 x 10 picture end up wholly painted.
std::vector<int> paintedLines(const ColorXCall& call, bool rows) {
    KernelSurface surface(10, 10);
    surface.fill(2, kGrey100);
    apply(surface, call);
    std::vector<int> painted;
    for (int line = 1; line <= 10; ++line) {
        int count = 0;
        for (int along = 1; along <= 10; ++along)
            count += surface.word(2, rows ? along : line, rows ? line : along) ==
                     (kReserved | pixelWord(call.colour));
        if (count == 10) painted.push_back(line);
        EXPECT_TRUE(count == 10 || count == 0 || call.opCode == 3);
    }
    return painted;
}

TEST(ColorXKernel, PatternsAreAnchoredAtTheTopRowAndTheRightColumn) {
    const std::uint32_t red7 = 0x07;
    EXPECT_EQ(paintedLines({.opCode = 1, .amount = 3, .colour = red7}, true),
              (std::vector<int>{1, 4, 7, 10}));
    EXPECT_EQ(paintedLines({.opCode = 2, .amount = 4, .colour = red7}, false),
              (std::vector<int>{2, 6, 10}));
    EXPECT_EQ(paintedLines({.opCode = 3, .amount = 1, .colour = red7}, true).size(), 10u);
    EXPECT_TRUE(paintedLines({.opCode = 3, .amount = 3, .colour = red7}, true).empty());
    for (std::int32_t amount : {0, -1, -32768})
        EXPECT_TRUE(paintedLines({.opCode = 1, .amount = amount, .colour = red7}, true).empty());
}

TEST(ColorXKernel, GlowBlendsRingsOfTheSquareAroundColourX) {
    KernelSurface surface(11, 11);
    surface.fill(2, kGrey100);
    surface.setWord(2, 6, 6, kGrey200);
    surface.setWord(2, 2, 10, kGrey200);  // nearer than the radius to the edge: no glow
    apply(surface, {.opCode = 4, .amount = 2, .colour = kGrey200});
    EXPECT_TRUE(surface.wordsAre(2, [](int x, int y) {
        const int d = std::max(std::abs(x - 6), std::abs(y - 6));
        if (d == 0 || (x == 2 && y == 10)) return kGrey200;
        // 0.9 of 100 and 0.1 of 200; then about 0.8 of 100 and 0.2 of 200.
        return d == 1 ? kReserved | 0x787878 : d == 2 ? kReserved | 0x6E6E6E : kGrey100;
    }));
}

// The number of pixels an upward streak changes above a single source.
int streakLength(std::int32_t amount) {
    KernelSurface surface(1, 30);
    surface.fill(2, kGrey100);
    surface.setWord(2, 1, 1, kGrey200);
    apply(surface, {.opCode = 5, .amount = amount, .colour = kGrey200});
    int changed = 0;
    for (std::int32_t y = 2; y <= 30; ++y) changed += surface.word(2, 1, y) != kGrey100;
    return changed;
}

TEST(ColorXKernel, TheRadiusIsHalfTheAmountRoundedUpButNeverFive) {
    const int radius[] = {0, 1, 2, 2, 3, 3, 4, 4, 4, 4, 6, 6, 7, 7};
    for (std::int32_t amount = 1; amount <= 13; ++amount)
        EXPECT_EQ(streakLength(amount), radius[amount]) << "amount " << amount;
}

// A black source in a white line (a row or a column), with a radius of 9: the nearest
// pixel keeps almost nothing of its own colour and so turns black itself.
void streakFromBlackSource(KernelSurface& line, std::int32_t opCode, std::int32_t sourceAt) {
    const bool column = line.width() == 1;
    line.fill(2, kWhite);
    line.setWord(2, column ? 1 : sourceAt, column ? sourceAt : 1, 0);
    apply(line, {.opCode = opCode, .amount = 16, .colour = 0});
}

TEST(ColorXKernel, StreaksGrowAheadOfTheScanOnly) {
    KernelSurface up(1, 40), right(40, 1), down(1, 40), left(40, 1);
    streakFromBlackSource(up, 5, 1);
    EXPECT_EQ(up.word(2, 1, 31), kReserved) << "rows made black spread further up";
    streakFromBlackSource(right, 8, 1);
    EXPECT_EQ(right.word(2, 31, 1), kReserved);

    streakFromBlackSource(down, 6, 40);
    EXPECT_EQ(down.word(2, 1, 39), kReserved);
    EXPECT_EQ(down.word(2, 1, 30), kWhite) << "a downward streak stops after 9 pixels";
    streakFromBlackSource(left, 7, 40);
    EXPECT_EQ(left.word(2, 39, 1), kReserved);
    EXPECT_EQ(left.word(2, 30, 1), kWhite);
}

TEST(ColorXKernel, StreaksToTheRightStayInTheirRowAndNeedRoomToStart) {
    KernelSurface surface(12, 3);
    surface.fill(2, kGrey100);
    surface.setWord(2, 3, 2, kGrey200);
    surface.setWord(2, 11, 3, kGrey200);  // within the last 2 columns
    apply(surface, {.opCode = 8, .amount = 2, .colour = kGrey200});
    for (std::int32_t y = 1; y <= 3; ++y) {
        for (std::int32_t x = 1; x <= 12; ++x) {
            const bool source = (x == 3 && y == 2) || (x == 11 && y == 3);
            const bool streak = y == 2 && (x == 4 || x == 5);
            EXPECT_EQ(surface.word(2, x, y) != (source ? kGrey200 : kGrey100), streak)
                << x << "," << y;
        }
    }
}

TEST(ColorXKernel, SpreadingNeedsAllThreeColourBytesAndIgnoresTheFourth) {
    for (std::int32_t op = 4; op <= 8; ++op) {
        KernelSurface surface(9, 9);
        surface.fill(2, kGrey100);
        for (std::int32_t x = 1; x <= 9; ++x)
            surface.setWord(2, x, 5, kGrey200 ^ (1u << (x % 3 * 8)));
        const auto before = surface.planeBytes(2);
        apply(surface, {.opCode = op, .amount = 2, .colour = kGrey200});
        EXPECT_EQ(surface.planeBytes(2), before) << "near misses, op " << op;

        surface.setWord(2, 5, 3, 0xAB000000 | kGrey200);
        const auto withSource = surface.planeBytes(2);
        apply(surface, {.opCode = op, .amount = 2, .colour = 0x01000000 | kGrey200});
        EXPECT_EQ(surface.planeBytes(2), withSource) << "a colour with high bits, op " << op;
        apply(surface, {.opCode = op, .amount = 2, .colour = kGrey200});
        EXPECT_NE(surface.planeBytes(2), withSource) << "the reserved byte is not compared";
    }
}

// Fades chosen so that a weight rounded differently moves a channel by one.
TEST(ColorXKernel, WeightsAreRoundedToSinglePrecisionWhereTheyAreStored) {
    KernelSurface glow(9, 9);
    glow.fill(2, kReserved | 0x4A4A4A);  // 74
    glow.setWord(2, 5, 5, 0x00FFFFFF);
    apply(
        glow,
        {.opCode = 4, .amount = 6, .colour = 0x00FFFFFF, .a = 0x1.9826a8p-2f, .b = 0x1.b2d2e4p-4f});
    EXPECT_EQ(glow.word(2, 6, 5), kReserved | 0xF0F0F0) << "a - 3b formed in double, then rounded";

    KernelSurface streak(1, 8);
    streak.fill(2, kReserved | 0x383838);  // 56
    streak.setWord(2, 1, 1, 0x00030303);
    apply(streak, {.opCode = 5,
                   .amount = 12,
                   .colour = 0x00030303,
                   .a = 0x1.dcf4f0p-1f,
                   .b = 0x1.788f5ap-6f});
    EXPECT_EQ(streak.word(2, 1, 5), kReserved | 0x303030) << "b taken away one step at a time";
}

TEST(ColorXKernel, BlendsBelowZeroStoreZero) {
    // Radius 11: the pixel next to the source keeps -0.2 of its white.
    KernelSurface surface(1, 14);
    surface.fill(2, kWhite);
    surface.setWord(2, 1, 1, 0);
    apply(surface, {.opCode = 5, .amount = 20, .colour = 0});
    EXPECT_EQ(surface.word(2, 1, 2), kReserved);
}

// Op code 9 on a 61 x 61 grey picture round column 31, row 61 - 20.
TEST(ColorXKernel, RingBrightensWithinItsRadiusAndOverflowsIntoColourX) {
    const std::uint32_t green = 0x0000FF00;
    KernelSurface surface(61, 61);
    surface.fill(2, kReserved | 0xC8C8C8);
    apply(surface, {.opCode = 9, .amount = 1, .colour = green, .a = 31.0f, .b = 20.0f});
    int changed = 0;
    for (std::int32_t y = 1; y <= 61; ++y) {
        for (std::int32_t x = 1; x <= 61; ++x) {
            const int squared = (x - 31) * (x - 31) + (y - 41) * (y - 41);
            const std::uint32_t word = surface.word(2, x, y);
            // Only the last ring, which multiplies by exactly 1, reaches this far.
            if (squared >= 24.3 * 24.3) {
                EXPECT_EQ(word, kReserved | 0xC8C8C8) << x << "," << y;
            }
            changed += word != (kReserved | 0xC8C8C8);
        }
    }
    EXPECT_GT(changed, 1000);
    EXPECT_EQ(surface.word(2, 32, 41), kReserved | pixelWord(green)) << "200 · 1.96 overflows";
    EXPECT_EQ(surface.word(2, 31, 40), kReserved | pixelWord(green));
}

}  // namespace
}  // namespace quillon
