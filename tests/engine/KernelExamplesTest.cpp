// Worked examples of every kernel: small pictures whose outcome is known pixel for pixel,
// one table per kernel. They pin the plain paths; the agreement test holds every fast
// path to those.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "engine/ColorXKernel.h"
#include "engine/MagnifyKernel.h"
#include "engine/PalEffectsKernel.h"
#include "engine/PalEffectsPasses.h"
#include "engine/PixelEffectsKernel.h"
#include "engine/RotationKernel.h"
#include "tests/engine/KernelSurface.h"

namespace quillon {
namespace {

using testsupport::KernelCall;
using testsupport::KernelSurface;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A picture whose every pixel differs: blue x, green y, red 10x + y. The reserved bytes
// tell the planes apart: 0x00 original, 0xEE working, 0x77 undo.
constexpr std::uint32_t colourAt(int x, int y) {
    return std::uint32_t(10 * x + y) << 16 | std::uint32_t(y) << 8 | std::uint32_t(x);
}
constexpr std::uint32_t from(int x, int y) {
    return 0xEE000000u | colourAt(x, y);
}
constexpr std::uint32_t kPattern = 1;  // as a fill: the picture above, other colours working
constexpr std::uint32_t kSame = 2;     // as an expectation: from(x, y) at (x, y)
constexpr std::uint32_t kAny = 3;      // as an expectation: whatever the kernel writes

// Words x0..x1 by y0..y1 of a plane (as far as the picture goes); 0 is every plane when setting,
// the working plane when expecting. Later areas take precedence.
struct Area {
    int x0, y0, x1, y1;
    std::uint32_t word;
    int plane = 0;
};
Area at(int x, int y, std::uint32_t word, int plane = 0) {
    return {x, y, x, y, word, plane};
}
Area area(int x0, int y0, int x1, int y1, std::uint32_t word, int plane = 0) {
    return {x0, y0, x1, y1, word, plane};
}

struct Example {
    const char* what;
    int w, h;
    std::uint32_t fill;     // every plane
    std::uint32_t working;  // the working plane, if not 0
    std::vector<Area> set;
    KernelCall call;
    std::vector<Area> expected;
};

Example ex(const char* what, int w, int h, std::uint32_t fill, std::uint32_t working,
           std::vector<Area> set, KernelCall call, std::vector<Area> expected) {
    return {what, w, h, fill, working, std::move(set), call, std::move(expected)};
}

KernelCall call(std::int32_t op, std::int32_t amount, std::uint32_t colour = 0, float a = 2.0f,
                float b = 3.0f, KernelPointerArgument c = 4) {
    return {op, amount, colour, singleBits(a), singleBits(b), c};
}

bool within(const Area& a, int x, int y) {
    return x >= a.x0 && x <= a.x1 && y >= a.y0 && y <= a.y1;
}

void paint(KernelSurface& surface, const Example& e) {
    for (int p = 1; p <= 3; ++p) {
        const std::uint32_t reserved = p == 1 ? 0 : p == 2 ? 0xEE000000 : 0x77000000;
        const std::uint32_t shade = p == 2 ? 0x808080 : 0;
        for (int y = 1; y <= e.h; ++y) {
            for (int x = 1; x <= e.w; ++x) {
                std::uint32_t word =
                    e.fill == kPattern ? reserved | (colourAt(x, y) ^ shade) : e.fill;
                if (p == 2 && e.working) word = e.working;
                for (const Area& a : e.set) {
                    if (within(a, x, y) && (a.plane == 0 || a.plane == p)) word = a.word;
                }
                surface.setWord(p, x, y, word);
            }
        }
    }
}

void runExamples(Kernel kernel, const std::vector<Example>& examples) {
    for (const Example& e : examples) {
        SCOPED_TRACE(e.what);
        KernelSurface surface(e.w, e.h), before(e.w, e.h);
        paint(surface, e);
        paint(before, e);
        surface.run(kernel, e.call);
        EXPECT_TRUE(surface.wordsAre(2, [&](int x, int y) {
            std::uint32_t word = before.word(2, x, y);
            for (const Area& a : e.expected) {
                if (within(a, x, y))
                    word = a.word == kSame  ? from(x, y)
                           : a.word == kAny ? surface.word(2, x, y)
                                            : a.word;
            }
            return word;
        }));
        const auto after = surface.planes(), painted = before.planes();
        EXPECT_TRUE(after[0] == painted[0] && after[2] == painted[2]) << "a source plane changed";
    }
}

struct PixelCase {
    std::uint32_t in;
    std::int32_t op, amount;
    std::uint32_t out;
};

// Pixels as 0xRRGGBB words with the reserved byte on top, by op code: plus and minus per
// channel saturate, rotations wrap, the amount spills into the neighbouring bytes where it
// does not fit one; negative inverts the reserved byte too, grey truncates; each colour
// substitution next to a pixel just outside it; black or white goes by red, then green, then
// blue against 180. Noise from 2.0f takes the generator's bytes 4, 170 and 83: -19, +7, -7.
const PixelCase kPalette[] = {{0x00FA140A, 0, 8, 0x00FF140A},      {0x281E140A, 1, -1, 0x0000140A},
                              {0x281E140A, 2, -32768, 0xFF9E140A}, {0x00FA140A, 3, 30, 0x00FA000A},
                              {0x281E140A, 4, -1, 0xFFFFFFFF},     {0x281E140A, 5, 8, 0x281E1402},
                              {0x281E140A, 6, 300, 0x294A4036},    {0x281E140A, 7, 30, 0x28000000},
                              {0x00FA140A, 8, 8, 0x00021C12},      {0x00FA140A, 9, 15, 0x00EB05FB},
                              {0x05646464, 10, 1, 0x055D6B51},     {0x00030201, 11, 1, 0xFFFCFDFE},
                              {0x4DFEFFFF, 12, 1, 0x4DFEFEFE},     {0x09181818, 13, 1, 0x09000000},
                              {0x09000019, 13, 1, 0x09000019},     {0x09F9F9F9, 14, 1, 0x09FFFFFF},
                              {0x09FFFFF8, 14, 1, 0x09FFFFF8},     {0x09000000, 15, 1, 0x09FFFFFF},
                              {0x09000100, 15, 1, 0x09000100},     {0x09FFFFFF, 16, 1, 0x09000000},
                              {0x09FFFEFF, 16, 1, 0x09FFFEFF},     {0x09FFFEFF, 17, 1, 0x09000000},
                              {0x09FFFFFF, 17, 1, 0x09FFFFFF},     {0x09000001, 18, 1, 0x09FFFFFF},
                              {0x09000000, 18, 1, 0x09000000},     {0x01B40000, 19, 1, 0x01FFFFFF},
                              {0x0100B4B3, 19, 1, 0x01FFFFFF},     {0x01B3B4B4, 19, 1, 0x01000000},
                              {0x01B3B3FF, 19, 1, 0x01000000},     {0x05646464, 20, 1, 0x05646464},
                              {0x05646464, -1, 1, 0x05646464}};

TEST(KernelExamples, Palette) {
    for (const auto& [in, op, amount, out] : kPalette) {
        KernelSurface pixel(1, 1);
        pixel.setWord(2, 1, 1, in);
        pixel.run(palEffectsKernel, call(op, amount));
        EXPECT_EQ(pixel.word(2, 1, 1), out) << "op " << op << " amount " << amount;
    }
    std::uint32_t s = 0x40000000;
    for (std::uint32_t expected : {0x60055904u, 0x7CE656AAu, 0x19F68853u})
        EXPECT_EQ(s = paleffects::nextNoiseState(s), expected);
    EXPECT_EQ(paleffects::nextNoiseState(0x76918DE5), 0x80055904u) << "the sum's carry is kept";
    // At amount 0, noise raises a byte by one where the generator's byte is 128 or more.
    KernelSurface grey(50, 1);
    grey.fill(2, 0x64646464);
    grey.run(palEffectsKernel, {.opCode = 10, .amount = 0, .a = 0x12345678});
    s = 0x12345678;
    for (int i = 0; i < 200; ++i) {
        if (i % 4 != 3) s = paleffects::nextNoiseState(s);
        EXPECT_EQ(grey.pixel(2, 1 + i / 4, 1)[i % 4], i % 4 != 3 && (s & 0xFF) >= 128 ? 101 : 100);
    }
}

constexpr std::uint32_t kUntouched = 0x77123456;
const std::vector<float> kWave = waveTable(11, 12, 1), kFlatWave = waveTable(11, 12, 0);

// Undo plane `undo`, working plane kUntouched; what op `op` writes where.
Example filter(const char* what, int w, int h, std::uint32_t undo, KernelCall call,
               std::vector<Area> written = {}) {
    return {what, w, h, undo, kUntouched, {}, call, written};
}

KernelCall wave(std::int32_t amount, const std::vector<float>& table) {
    return call(3, amount, 0, 0, 0, reinterpret_cast<KernelPointerArgument>(table.data()));
}

TEST(KernelExamples, PixelEffects) {
    const auto inside = [](std::uint32_t word) { return Area{2, 2, 5, 4, word}; };
    const std::vector<Area> embossed{area(1, 2, 3, 3, 0xFF, 3), at(1, 2, 0, 3),
                                     at(2, 1, 0x10000, 3)};
    const std::vector<Area> dark{area(1, 1, 2, 1, 0xFFFFFF, 3), at(1, 2, 0xFFFFFF, 3)};
    const std::vector<Area> waved{area(1, 1, 11, 12, kAny), at(1, 8, from(1, 10)),
                                  at(8, 8, from(8, 10)), at(11, 8, from(11, 10)),
                                  at(2, 1, from(2, 1))};
    const std::vector<Area> twisted{
        {1, 1, 11, 8, kAny}, at(5, 4, from(5, 4)), at(1, 1, 0xEEEEEEEE), at(11, 8, 0xEEEEEEEE)};
    runExamples(
        pixelEffectsKernel,
        {filter("smooth 1, all four bytes", 6, 5, 0xFFFFFFFF, call(0, 1),
                {area(2, 1, 5, 5, 0xFEFEFEFE)}),
         filter("smooth 2", 6, 5, 0xFFFFFFFF, call(0, 2), {area(1, 2, 6, 4, 0xFEFEFEFE)}),
         filter("smooth 4", 6, 5, 0xFFFFFFFF, call(0, 4), {inside(0xFCFCFCFC)}),
         filter("smooth 8", 6, 5, 0xFFFFFFFF, call(0, 8), {inside(0xF8F8F8F8)}),
         filter("smooth 8 sums v div 8", 6, 5, 0x4D07C8FF, call(0, 8), {inside(0x4800C8F8)}),
         filter("smooth 3 is none", 6, 5, 0xFFFFFFFF, call(0, 3)),
         filter("edges in colour X", 6, 5, 0x5AC0B0A0, call(1, 1, 0x302010), {inside(0x77102030)}),
         filter("top byte ignored", 6, 5, 0x5AC0B0A0, call(1, 1, 0x80000005), {inside(0x77050000)}),
         filter("relief", 6, 5, 0x5AC0B0A0, call(2, 1, 0x302010), {inside(0x77102030)}),
         filter("emboss 200 -> 150, 255 -> 177", 6, 5, 0xFFC8C8, call(4, 1), {inside(0x77B19696)}),
         filter("op code 6", 6, 5, 0x00FFC8C8, call(6, 1)),
         // Blue overflows into colour X, green is flat, red halves -1 down to -1, plus 50.
         ex("emboss overflow", 3, 3, 0, kUntouched, embossed, call(4, 1, 0xABCDEF),
            {at(2, 2, 0x773132AB)}),
         ex("emboss far below zero", 3, 3, 0, kUntouched, dark, call(4, 1, 0xABCDEF),
            {at(2, 2, 0x77000000)}),
         // T(8) = 8 + 2 sin 1.6 rounds to 10, T(1) = 1.397 to 1.
         ex("a wave copies the rows it picks", 11, 12, kPattern, 0, {}, wave(1, kWave), waved),
         ex("a flat wave copies", 11, 12, kPattern, 0, {}, wave(0, kFlatWave),
            {area(1, 1, 11, 12, kSame)}),
         filter("no table at 4", 4, 4, 0x00FFFFFF, call(3, 1)),
         ex("twist keeps the centre, frames with colour X", 11, 8, kPattern, 0, {},
            call(5, 1, 0xEEEEEE), twisted),
         filter("twist, 1 x 1", 1, 1, 0x10203, call(5, 1, 0xEEEEEE), {at(1, 1, 0x77EEEEEE)}),
         filter("smooth 1 needs 3 columns", 2, 5, 0xFFFFFFFF, call(0, 1)),
         filter("edges need a neighbourhood", 2, 5, 0xFFFFFFFF, call(1, 1)),
         filter("emboss needs one", 9, 2, 0xFFFFFFFF, call(4, 1))});
}

constexpr std::uint32_t kReserved = 0x5A000000;  // must survive every colour X effect
constexpr std::uint32_t kGrey100 = kReserved | 0x646464;
constexpr std::uint32_t kWhite = kReserved | 0xFFFFFF;
constexpr std::uint32_t kGrey200 = 0x00C8C8C8;  // as colour X and as a pixel

Example dot(float a, float b, int x, int y) {
    return ex("a random dot", 10, 8, kGrey100, 0, {}, call(0, -5, 0x332211, a, b),
              {x ? at(x, y, kReserved | 0x112233) : at(1, 1, kGrey100)});
}

Example onGrey(const char* what, int w, int h, std::vector<Area> set, KernelCall call,
               std::vector<Area> expected) {
    return {what, w, h, kGrey100, 0, set, call, expected};
}

// A black source in a white line, streaked with a radius of 9: the nearest pixel keeps
// almost nothing of its own colour and so turns black too.
Example streak(int w, int h, Area source, std::int32_t op, std::vector<Area> expected) {
    expected.insert(expected.begin(), {1, 1, w, h, kAny});
    return ex("a streak of radius 9", w, h, kWhite, 0, {source}, call(op, 16, 0, 0.9f, 0.1f),
              expected);
}

TEST(KernelExamples, ColourX) {
    const float belowOne = std::nextafter(1.0f, 0.0f);
    const std::uint32_t red7 = kReserved | 0x070000;
    const auto row = [&](int y) { return Area{1, y, 10, y, red7}; };
    const auto column = [&](int x) { return Area{x, 1, x, 10, red7}; };
    const std::vector<Area> glow{
        {4, 4, 8, 8, kReserved | 0x6E6E6E}, {5, 5, 7, 7, kReserved | 0x787878}, at(6, 6, kGrey200)};
    const std::vector<Area> ring{area(1, 1, 61, 61, kAny), at(32, 41, kReserved | 0xFF00),
                                 at(31, 40, kReserved | 0xFF00), at(31, 16, kReserved | 0xC8C8C8),
                                 at(6, 41, kReserved | 0xC8C8C8)};
    runExamples(
        colorXEffectsKernel,
        {dot(0.0f, 0.0f, 1, 1), dot(belowOne, belowOne, 10, 8), dot(0.5f, 0.25f, 6, 3),
         dot(0.75f, 0.0625f, 8, 2), dot(-0.1f, 0.5f, 0, 0), dot(0.5f, kNaN, 0, 0),
         onGrey("lines from the top", 10, 10, {}, call(1, 3, 7), {row(1), row(4), row(7), row(10)}),
         onGrey("columns from the right", 10, 10, {}, call(2, 4, 7),
                {column(2), column(6), column(10)}),
         onGrey("a lattice from the top right", 4, 4, {}, call(3, 3, 7),
                {at(4, 4, red7), at(1, 4, red7), at(4, 1, red7), at(1, 1, red7)}),
         onGrey("a dense lattice", 4, 4, {}, call(3, 1, 7), {area(1, 1, 4, 4, red7)}),
         onGrey("no spacing", 10, 10, {}, call(1, 0, 7), {}),
         // 0.9 of 100 and 0.1 of 200 at the rim, 0.8 and 0.2 next to the source; none
         // within the radius of an edge.
         onGrey("a glow", 11, 11, {at(6, 6, kGrey200), at(2, 10, kGrey200)},
                call(4, 2, kGrey200, 0.9f, 0.1f), glow),
         streak(1, 40, at(1, 1, 0), 5, {area(1, 2, 1, 31, kReserved)}),
         streak(40, 1, at(1, 1, 0), 8, {area(2, 1, 31, 1, kReserved)}),
         streak(1, 40, at(1, 40, 0), 6, {at(1, 39, kReserved), at(1, 30, kWhite)}),
         streak(40, 1, at(40, 1, 0), 7, {at(39, 1, kReserved), at(30, 1, kWhite)}),
         onGrey("a streak stays in its row, needs room", 12, 3,
                {at(3, 2, kGrey200), at(11, 3, kGrey200)}, call(8, 2, kGrey200, 0.9f, 0.1f),
                {at(4, 2, kReserved | 0x828282), at(5, 2, kAny)}),
         // Fades chosen so that a weight rounded differently moves a channel by one.
         ex("glow weight a - 3b rounded once", 9, 9, kReserved | 0x4A4A4A, 0, {at(5, 5, 0xFFFFFF)},
            call(4, 6, 0xFFFFFF, 0x1.9826a8p-2f, 0x1.b2d2e4p-4f),
            {area(1, 1, 9, 9, kAny), at(6, 5, kReserved | 0xF0F0F0)}),
         ex("streak weight less b each step", 1, 8, kReserved | 0x383838, 0, {at(1, 1, 0x030303)},
            call(5, 12, 0x030303, 0x1.dcf4f0p-1f, 0x1.788f5ap-6f),
            {area(1, 1, 1, 8, kAny), at(1, 5, kReserved | 0x303030)}),
         ex("blends below zero store zero", 1, 14, kWhite, 0, {at(1, 1, 0)},
            call(5, 20, 0, 0.9f, 0.1f), {area(1, 1, 1, 14, kAny), at(1, 2, kReserved)}),
         onGrey("a colour with high bits matches nothing", 5, 5, {at(3, 3, kGrey200)},
                call(4, 2, 0x01000000 | kGrey200, 0.9f, 0.1f), {}),
         onGrey("the reserved byte is not compared", 5, 5, {at(3, 3, 0xAB000000 | kGrey200)},
                call(4, 1, kGrey200, 0.9f, 0.1f),
                {area(2, 2, 4, 4, kReserved | 0x6E6E6E), at(3, 3, 0xAB000000 | kGrey200)}),
         // Radius 24 about column 31, row 61 - 20: 200 · 1.96 overflows into colour X.
         ex("a ring", 61, 61, kReserved | 0xC8C8C8, 0, {}, call(9, 1, 0xFF00, 31.0f, 20.0f),
            ring)});

    // Near misses in any one channel spread nothing; the radius is half the amount rounded
    // up, but never five.
    std::vector<Area> misses;
    for (int x = 1; x <= 9; ++x) misses.push_back(at(x, 5, kGrey200 ^ (1u << (x % 3 * 8))));
    for (std::int32_t op = 4; op <= 8; ++op)
        runExamples(colorXEffectsKernel,
                    {onGrey("misses", 9, 9, misses, call(op, 2, kGrey200), {})});
    const int radius[] = {0, 1, 2, 2, 3, 3, 4, 4, 4, 4, 6, 6, 7, 7};
    for (std::int32_t amount = 1; amount <= 13; ++amount) {
        KernelSurface line(1, 30);
        line.fill(2, kGrey100);
        line.setWord(2, 1, 1, kGrey200);
        line.run(colorXEffectsKernel, call(5, amount, kGrey200, 0.9f, 0.1f));
        EXPECT_NE(line.word(2, 1, 1 + radius[amount]), kGrey100) << amount;
        EXPECT_EQ(line.word(2, 1, 2 + radius[amount]), kGrey100) << amount;
    }
}

// Bilinear cells at a factor or turn of one: an odd whole coordinate takes the pixel below
// as its cell, so the first column and row lose a neighbour, and so does an even last one.
std::vector<Area> borderLost(int w, int h, std::uint32_t background) {
    return {area(1, 1, w, h, kSame),
            {1, 1, w, 1, background},
            {1, 1, 1, h, background},
            {w, 1, w, w % 2 ? 0 : h, background},
            {1, h, h % 2 ? 0 : w, h, background}};
}

constexpr std::uint32_t kBackground = 0x00C0FFEE;  // red EE, green FF, blue C0
constexpr std::uint32_t kBackgroundWord = 0xEEEEFFC0;

Example zoom(const char* what, int w, int h, std::int32_t op, float cx, float cyFromTop,
             std::int32_t tenths, std::vector<Area> expected) {
    return {what, w, h, kPattern, 0, {}, call(op, 0, kBackground, cx, cyFromTop, tenths), expected};
}

TEST(KernelExamples, Magnify) {
    const Area all{1, 1, 5, 4, kBackgroundWord}, any{1, 1, 8, 8, kAny};
    const std::vector<Area> doubled{any, at(1, 1, from(2, 2)), at(3, 2, from(3, 3)),
                                    at(6, 5, from(4, 4)), at(2, 3, from(2, 4))};
    const std::vector<Area> halved{area(1, 1, 8, 8, kBackgroundWord),
                                   {3, 3, 6, 6, kAny},
                                   at(3, 3, from(2, 2)),
                                   at(6, 6, from(8, 8)),
                                   at(5, 3, from(6, 2))};
    runExamples(
        magnifyKernel,
        {zoom("a factor of one copies", 9, 7, 0, 4.5f, 3.25f, 10, {area(1, 1, 9, 7, kSame)}),
         zoom("blended at one", 6, 5, 1, 3.0f, 2.0f, 10, borderLost(6, 5, kBackgroundWord)),
         zoom("blended at one, odd width", 5, 6, 1, 3.0f, 2.0f, 10,
              borderLost(5, 6, kBackgroundWord)),
         // Doubling about column 3 and row 1 from the top (row 4); halves go to even. Just
         // below 1 from the top the centre row is 4.00000006, kept as 4 in single precision.
         zoom("doubled", 6, 5, 0, 3.0f, 1.0f, 20, doubled),
         zoom("doubled about just below 1", 6, 5, 0, 3.0f, 0.99999994f, 20, doubled),
         zoom("halved about (4, 4): x -> 2x - 4", 8, 8, 0, 4.0f, 4.0f, 5, halved),
         zoom("mirrored through (4, 3)", 7, 5, 0, 4.0f, 2.0f, -10,
              {any, at(1, 1, from(7, 5)), at(7, 5, from(1, 1)), at(2, 4, from(6, 2))}),
         zoom("zero factor", 5, 4, 0, 2.0f, 2.0f, 0, {all}),
         zoom("no centre column", 5, 4, 0, kNaN, 2.0f, 10, {all}),
         zoom("no centre row", 5, 4, 1, 2.0f, kNaN, 10, {all}),
         zoom("op code 2", 5, 4, 2, 2.0f, 2.0f, 20, {})});
}

constexpr std::uint32_t kTurnBackground = 0xEE112233;

Example turn(const char* what, int w, int h, std::vector<Area> set, std::int32_t op, float cx,
             float cyFromTop, std::int32_t degrees, std::vector<Area> expected) {
    return {what,    w, h, kPattern, 0, set, call(op, 0, 0x80332211, cx, cyFromTop, degrees),
            expected};
}

TEST(KernelExamples, Rotation) {
    // The source planes differ in the blue byte of (3, 3), to tell which one is read.
    const std::vector<Area> marks{at(3, 3, 0xA0, 1), at(3, 3, 0x770000A3, 3)};
    const auto blue = [](int x, int y, std::uint32_t value) {
        return at(x, y, (colourAt(x, y) & 0xFFFF00) | value, 1);
    };
    const std::vector<Area> halves{blue(2, 2, 200), blue(2, 3, 200), blue(3, 2, 201),
                                   blue(3, 3, 201), at(4, 2, 0xFF06CE, 1)};
    const Area any{1, 1, 5, 5, kAny}, same{1, 1, 5, 5, kSame}, lost{1, 1, 5, 5, kTurnBackground};
    const std::vector<Area> rounded{area(1, 1, 4, 3, kAny), at(1, 2, 0xEE9004CC),
                                    at(2, 1, 0xEE1C03C8), at(4, 2, kTurnBackground),
                                    at(2, 3, kTurnBackground)};
    runExamples(rotationKernel,
                {turn("a quarter turn is clockwise on the screen", 5, 5, {}, 2, 3.0f, 2.0f, 450,
                      {any, at(3, 2, from(4, 3)), at(3, 4, from(2, 3)), at(1, 5, from(1, 1)),
                       at(3, 3, from(3, 3))}),
                 turn("a whole turn copies", 5, 5, {}, 0, 2.0f, 2.0f, 720, {same}),
                 turn("from the original too", 5, 5, {}, 2, 2.0f, 2.0f, 720, {same}),
                 turn("op 0 reads the undo plane", 5, 5, marks, 0, 3.0f, 2.0f, 360,
                      {same, at(3, 3, 0xEE0000A3)}),
                 turn("op 1 too", 5, 5, marks, 1, 3.0f, 2.0f, 360, {any, at(3, 3, 0xEE0000A3)}),
                 turn("op 2 reads the original", 5, 5, marks, 2, 3.0f, 2.0f, 360,
                      {same, at(3, 3, 0xEE0000A0)}),
                 turn("op 3 too", 5, 5, marks, 3, 3.0f, 2.0f, 360, {any, at(3, 3, 0xEE0000A0)}),
                 turn("blended whole turn", 4, 3, {}, 3, 1.0f, 1.0f, 360,
                      borderLost(4, 3, kTurnBackground)),
                 turn("blended whole turn", 5, 4, {}, 3, 1.0f, 1.0f, 360,
                      borderLost(5, 4, kTurnBackground)),
                 // A half turn about column 2.25 lands every point half-way between two columns:
                 // 203.5, 4, 143.5 and 200.5, 3, 28 round to even; just past it 200.5 + 2^-18 must
                 // not be rounded to a tie on the way.
                 turn("halves round to even", 4, 3, halves, 3, 2.25f, 1.0f, 540, rounded),
                 turn("just past the half", 4, 3, halves, 3, 2.25f + std::ldexp(1.0f, -19), 1.0f,
                      540, {area(1, 1, 4, 3, kAny), at(2, 2, 0xEE1B02C9), at(2, 1, 0xEE1C03C9)}),
                 turn("op code -1", 5, 5, {}, -1, 3.0f, 2.0f, 450, {}),
                 turn("no centre", 5, 5, {}, 0, kNaN, 2.0f, 360, {lost})});
}

// Planes that take no bytes at all, or a record whose sizes are absurd: a sanitizer build
// fails on any access.
TEST(KernelExamples, SurfacesWithoutPixelsAreNotTouched) {
    std::uint8_t guard[48] = {};
    const Kernel kernels[] = {palEffectsKernel, rotationKernel, pixelEffectsKernel,
                              colorXEffectsKernel, magnifyKernel};
    const std::pair<int, int> shapes[] = {{0, 4}, {4, 0}, {-3, 4}, {4, INT_MIN}};
    for (const Kernel kernel : kernels) {
        for (const auto& [width, height] : shapes) {
            for (std::int32_t op = 0; op <= 19; ++op) {
                KernelParameterRecord record{width, height, guard, 0, 8, 0, op};
                kernel(&record, singleBits(0.5f), singleBits(0.5f),
                       op == 3 ? reinterpret_cast<KernelPointerArgument>(guard) : 20);
            }
        }
    }
    for (std::uint8_t byte : guard) EXPECT_EQ(byte, 0);
}

}  // namespace
}  // namespace quillon
