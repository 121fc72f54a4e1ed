// Known results of the pixel effects kernel, worked out by hand, independent of the
// reference that the agreement tests use.
#include <gtest/gtest.h>

#include <climits>

#include "engine/PixelEffectsKernel.h"
#include "tests/engine/PixelEffectsReference.h"

namespace quillon {
namespace {

using testsupport::KernelSurface;
using testsupport::PixelEffectsCall;

constexpr std::uint32_t kUntouched = 0x77123456;

// Undo plane `undoWord`, working plane kUntouched everywhere.
void paint(KernelSurface& surface, std::uint32_t undoWord) {
    surface.fill(3, undoWord);
    surface.fill(2, kUntouched);
}

void run(KernelSurface& surface, std::int32_t op, std::int32_t amount, std::uint32_t colour = 0) {
    surface.run(pixelEffectsKernel, {.opCode = op, .amount = amount, .colour = colour});
}

enum class Written { Nothing, InnerColumns, InnerRows, Inside };

// Uniform pictures: what each op code writes, and where.
TEST(PixelEffectsKernel, UniformPicturesGiveTheWorkedOutValues) {
    struct Case {
        std::int32_t op, amount;
        std::uint32_t undo, colour, result;
        Written where;
    };
    const Case cases[] = {
        {0, 1, 0xFFFFFFFF, 0, 0xFEFEFEFE, Written::InnerColumns},  // the fourth byte too
        {0, 2, 0xFFFFFFFF, 0, 0xFEFEFEFE, Written::InnerRows},
        {0, 4, 0xFFFFFFFF, 0, 0xFCFCFCFC, Written::Inside},
        {0, 8, 0xFFFFFFFF, 0, 0xF8F8F8F8, Written::Inside},
        {0, 8, 0x4D07C8FF, 0, 0x4800C8F8, Written::Inside},  // 8 x (v div 8)
        {0, 3, 0xFFFFFFFF, 0, 0, Written::Nothing},
        {1, 1, 0x5AC0B0A0, 0x00302010, 0x77102030, Written::Inside},  // colour X, own 4th byte
        {1, 1, 0x5AC0B0A0, 0x80000005, 0x77050000, Written::Inside},  // top byte ignored
        {2, 1, 0x5AC0B0A0, 0x00302010, 0x77102030, Written::Inside},
        {2, 1, 0x5AC0B0A0, 0, 0x77000000, Written::Inside},
        {4, 1, 0x00FFC8C8, 0, 0x77B19696, Written::Inside},  // 200 -> 150, 255 -> 177
    };
    for (const Case& c : cases) {
        KernelSurface picture(6, 5);
        paint(picture, c.undo);
        run(picture, c.op, c.amount, c.colour);
        EXPECT_TRUE(picture.wordsAre(
            2,
            [&](int x, int y) {
                const bool innerColumn = x > 1 && x<6, innerRow = y> 1 && y < 5;
                const bool written = (c.where == Written::InnerColumns && innerColumn) ||
                                     (c.where == Written::InnerRows && innerRow) ||
                                     (c.where == Written::Inside && innerColumn && innerRow);
                return written ? c.result : kUntouched;
            }))
            << "op " << c.op << " amount " << c.amount;
    }
}

// Blue overflows into colour X, green is flat, red halves -1 down to -1 before adding
// 50; a second picture drives every channel far below zero.
TEST(PixelEffectsKernel, EmbossMarksOverflowWithColourXAndHalvesDownward) {
    KernelSurface picture(3, 3);
    paint(picture, 0);
    for (const auto& [x, y] :
         {std::pair{1, 3}, std::pair{2, 3}, std::pair{3, 3}, std::pair{3, 2}, std::pair{2, 2}})
        picture.setWord(3, x, y, 0x000000FF);
    picture.setWord(3, 2, 1, 0x00010000);
    run(picture, 4, 1, 0x00ABCDEF);
    EXPECT_EQ(picture.word(2, 2, 2), 0x773132ABu);

    KernelSurface dark(3, 3);
    paint(dark, 0);
    for (const auto& [x, y] : {std::pair{1, 2}, std::pair{1, 1}, std::pair{2, 1}})
        dark.setWord(3, x, y, 0x00FFFFFF);
    run(dark, 4, 1, 0x00ABCDEF);
    EXPECT_EQ(dark.word(2, 2, 2), 0x77000000u);
}

TEST(PixelEffectsKernel, WaveCopiesWholeRowsChosenByTheSine) {
    auto rowWord = [](std::int32_t y) { return 0x80000000u | std::uint32_t(y) * 0x010101u; };
    for (std::int32_t amount : {0, 1}) {
        KernelSurface picture(3, 12);
        paint(picture, 0);
        for (std::int32_t y = 1; y <= 12; ++y) {
            for (std::int32_t x = 1; x <= 3; ++x) picture.setWord(3, x, y, rowWord(y));
        }
        const auto table = waveTable(3, 12, amount);
        picture.run(pixelEffectsKernel,
                    testsupport::kernelCall(PixelEffectsCall{3, amount, 0, &table}));
        auto shownRow = [&](std::int32_t y) { return picture.word(2, 2, y) & 0x00FFFFFF; };
        for (std::int32_t y = 1; amount == 0 && y <= 12; ++y)
            EXPECT_EQ(shownRow(y), rowWord(y) & 0xFFFFFF);
        if (amount == 1) {
            EXPECT_EQ(shownRow(8), 0x0A0A0Au) << "T(8) = 8 + 2 sin 1.6 rounds to 10";
            EXPECT_EQ(shownRow(1), 0x010101u) << "T(1) = 1.397 rounds to 1";
        }
        EXPECT_EQ(picture.word(2, 1, 5) >> 24, 0x77u) << "the reserved byte stays";
    }
    for (KernelPointerArgument c : {KernelPointerArgument{0}, KernelPointerArgument{4}}) {
        KernelSurface noTable(4, 4);
        paint(noTable, 0x00FFFFFF);
        noTable.run(pixelEffectsKernel, {.opCode = 3, .amount = 1, .c = c});
        EXPECT_EQ(noTable.word(2, 2, 2), kUntouched) << "c " << c << " is not a table";
    }
}

// Every source pixel is distinct, so each result is either colour X or one of them,
// and then one from inside the outer ring.
TEST(PixelEffectsKernel, TwistKeepsTheCentreAndFramesWithColourX) {
    constexpr std::uint32_t kColourX = 0x00EEEEEE;
    for (std::int32_t amount : {1, 2, 4, 8, 0, -5}) {
        KernelSurface picture(11, 8);
        paint(picture, 0);
        for (std::int32_t y = 1; y <= 8; ++y) {
            for (std::int32_t x = 1; x <= 11; ++x)
                picture.setWord(3, x, y, std::uint32_t(x * 16 + y));
        }
        run(picture, 5, amount, kColourX);
        EXPECT_EQ(picture.word(2, 5, 4), 0x77000000u | (5 * 16 + 4)) << amount;
        int framed = 0;
        for (std::int32_t y = 1; y <= 8; ++y) {
            for (std::int32_t x = 1; x <= 11; ++x) {
                const std::uint32_t colour = picture.word(2, x, y) & 0x00FFFFFF;
                const std::uint32_t sx = colour / 16, sy = colour % 16;
                framed += colour == kColourX;
                EXPECT_TRUE(colour == kColourX || (sx > 1 && sx < 11 && sy > 1 && sy < 8));
            }
        }
        EXPECT_GT(framed, 0);
    }
    for (std::int32_t size : {1, 2}) {
        KernelSurface tiny(size, size);
        paint(tiny, 0x00010203);
        run(tiny, 5, 1, kColourX);
        EXPECT_EQ(tiny.word(2, 1, size), 0x77EEEEEEu) << "no source point is inside";
    }
}

TEST(PixelEffectsKernel, NarrowOrLowSurfacesChangeOnlyWhereANeighbourhoodFits) {
    constexpr std::int32_t kShapes[][2] = {{1, 1}, {2, 5}, {5, 2}, {2, 2}, {1, 9}, {9, 1}};
    constexpr std::int32_t kCases[][2] = {
        {0, 1}, {0, 2}, {0, 4},  {0, 8},  {0, -32768}, {1, 1},       {2, 1},
        {4, 1}, {6, 1}, {-1, 1}, {4, -1}, {0, 32767},  {INT_MIN, 1}, {INT_MAX, 1}};
    for (const auto& [w, h] : kShapes) {
        for (const auto& [op, amount] : kCases) {
            KernelSurface picture(w, h);
            paint(picture, 0xFFFFFFFF);
            run(picture, op, amount, 0x00FFFFFF);
            const bool fits = op == 0 && ((amount == 1 && w >= 3) || (amount == 2 && h >= 3));
            bool changed = false;
            for (std::int32_t y = 1; y <= h; ++y) {
                for (std::int32_t x = 1; x <= w; ++x)
                    changed |= picture.word(2, x, y) != kUntouched;
            }
            EXPECT_EQ(changed, fits)
                << "op " << op << " amount " << amount << " on " << w << "x" << h;
        }
    }
}

TEST(PixelEffectsKernel, ASurfaceWithoutPixelsIsNotTouched) {
    std::uint8_t guard[48] = {};
    constexpr std::int32_t kEmptyShapes[][2] = {{0, 4}, {4, 0}, {-3, 4}, {4, INT_MIN}};
    for (const auto& [w, h] : kEmptyShapes) {
        const KernelParameterRecord record{.width = w, .height = h, .surface = guard, .amount = 8};
        for (std::int32_t op = 0; op <= 5; ++op) {
            KernelParameterRecord call = record;
            call.opCode = op;
            pixelEffectsKernel(&call, 0, 0, reinterpret_cast<KernelPointerArgument>(guard));
        }
    }
    for (std::uint8_t byte : guard) EXPECT_EQ(byte, 0);
}

}  // namespace
}  // namespace quillon
