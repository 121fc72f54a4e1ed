// The magnify kernel against a plain per-pixel version written straight from the
// description of the mapping, and against cases worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "engine/MagnifyKernel.h"
#include "tests/engine/KernelSurface.h"
#include "tests/engine/RandomArguments.h"
#include "tests/engine/SimdLevels.h"

namespace quillon {
namespace {

using testsupport::KernelSurface;
using testsupport::randomCentre;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr std::int32_t kMostNegative = std::numeric_limits<std::int32_t>::min();
constexpr std::uint32_t kBackground = 0x00C0FFEE;       // red EE, green FF, blue C0
constexpr std::uint32_t kBackgroundPixel = 0x00EEFFC0;  // the same as blue | green | red

// To the nearest integer, halves to even; the most negative integer when it doesn't fit.
std::int32_t roundOrMostNegative(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return kMostNegative;
    return std::int32_t(rounded);
}

struct Call {
    std::int32_t opCode;
    float cx, cyFromTop;
    std::int32_t tenths;
    std::uint32_t colour = kBackground;
};

std::uint32_t colourAt(KernelSurface& surface, int plane, int x, int y) {
    return surface.word(plane, x, y) & 0x00FFFFFF;
}

void run(KernelSurface& surface, const Call& call) {
    surface.run(magnifyKernel, {.opCode = call.opCode,
                                .colour = call.colour,
                                .a = std::bit_cast<KernelArgument>(call.cx),
                                .b = std::bit_cast<KernelArgument>(call.cyFromTop),
                                .c = call.tenths});
}

int blend(double a, double b, double c, double d, double dx, double dy) {
    const double top = a + (b - a) * dx, bottom = c + (d - c) * dx;
    return std::clamp(roundOrMostNegative(top + (bottom - top) * dy), 0, 255);
}

// The colour destination pixel (x, y) gets, exactly as described: map the pixel back
// into the source, then copy the nearest pixel or blend the four around the point.
std::uint32_t referenceColour(KernelSurface& surface, int x, int y, const Call& call) {
    const int w = surface.width(), h = surface.height();
    const double s = float(1.0 / (double(call.tenths) / 10.0));
    const double cx = call.cx, cy = float(h - double(call.cyFromTop));
    const double mappedX = (x - cx) * s + cx, mappedY = (y - cy) * s + cy;
    const std::uint32_t background =
        (call.colour >> 16 & 255) | (call.colour & 0xFF00) | (call.colour & 255) << 16;
    if (call.opCode == 0) {
        const int sx = roundOrMostNegative(mappedX), sy = roundOrMostNegative(mappedY);
        if (sx < 1 || sx > w || sy < 1 || sy > h) return background;
        return colourAt(surface, 3, sx, sy);
    }
    const float fx = float(mappedX), fy = float(mappedY);
    const int ix = roundOrMostNegative(fx - 0.5), iy = roundOrMostNegative(fy - 0.5);
    if (ix < 1 || ix >= w || iy < 1 || iy >= h) return background;
    const double dx = float(fx - double(ix)), dy = float(fy - double(iy));
    std::uint32_t colour = 0;
    for (int k = 0; k < 3; ++k) {
        const auto channel = [&](int sx, int sy) { return surface.pixel(3, sx, sy)[k]; };
        colour |= blend(channel(ix, iy), channel(ix + 1, iy), channel(ix, iy + 1),
                        channel(ix + 1, iy + 1), dx, dy)
                  << 8 * k;
    }
    return colour;
}

std::array<std::vector<std::uint8_t>, 3> expectedPlanes(KernelSurface& surface, const Call& call) {
    auto planes = surface.planes();
    if (call.opCode != 0 && call.opCode != 1) return planes;
    for (int y = 1; y <= surface.height(); ++y) {
        for (int x = 1; x <= surface.width(); ++x) {
            const std::uint32_t colour = referenceColour(surface, x, y, call);
            const std::size_t at = 4 * (std::size_t(surface.width()) * (y - 1) + x - 1);
            for (int k = 0; k < 3; ++k) planes[1][at + k] = std::uint8_t(colour >> 8 * k);
        }
    }
    return planes;
}

std::int32_t randomTenths(std::mt19937& random) {
    constexpr std::int32_t kOdd[] = {0,       1,        -1,         10,         -10,
                                     1000000, -1000000, 2147483647, 2147483646, kMostNegative};
    if (random() % 4 == 0) return testsupport::pick(random, kOdd);
    return std::int32_t(random() % 121) - 60;
}

TEST(MagnifyKernel, AgreesWithThePlainMappingOnRandomSurfacesAndArguments) {
    std::mt19937 random(1108);
    constexpr int kTinySizes[][2] = {{1, 1}, {2, 5}, {5, 2}, {1, 7}, {7, 1}, {2, 2}};
    constexpr std::int32_t kOtherOps[] = {2, -1, 255, kMostNegative};  // change nothing
    for (const simd::Level level : testsupport::simdLevels()) {
        const testsupport::ScopedSimdLevel scoped(level);
        for (int round = 0; round < 1500; ++round) {
            const bool tiny = round < 300;
            const int w = tiny ? kTinySizes[round % 6][0] : 1 + int(random() % 37);
            const int h = tiny ? kTinySizes[round % 6][1] : 1 + int(random() % 29);
            KernelSurface surface(w, h);
            surface.fillRandomly(random);
            const std::int32_t op =
                round % 50 == 7 ? testsupport::pick(random, kOtherOps) : int(random() % 2);
            const Call call{op, randomCentre(random, w), randomCentre(random, h),
                            randomTenths(random), std::uint32_t(random())};
            const auto expected = expectedPlanes(surface, call);
            run(surface, call);
            ASSERT_EQ(surface.planes(), expected)
                << w << "x" << h << " op " << op << " c " << call.tenths << " centre " << call.cx
                << ", " << call.cyFromTop;
        }
    }
}

// A case worked out by hand: the source pixel each destination pixel shows, with
// {0, 0} standing for the background colour.
struct HandCase {
    int w, h;
    Call call;
    std::pair<int, int> (*from)(int x, int y);
};

constexpr int kDoubledColumns[] = {2, 2, 3, 4, 4, 4}, kDoubledRows[] = {2, 3, 4, 4, 4};
std::pair<int, int> same(int x, int y) {
    return {x, y};
}
std::pair<int, int> nowhere(int, int) {
    return {0, 0};
}
std::pair<int, int> doubled(int x, int y) {
    return {kDoubledColumns[x - 1], kDoubledRows[y - 1]};
}

const HandCase kHandCases[] = {
    // A factor of one copies, whatever the centre.
    {9, 7, {0, 4.5f, 3.25f, 10}, same},
    {9, 7, {0, -20.75f, 100.0f, 10}, same},
    // Blended at a factor of one, an odd whole coordinate takes the pixel below as its
    // cell: the first column and row lose a neighbour, so do an even last column or row.
    {6,
     5,
     {1, 3.0f, 2.0f, 10},
     [](int x, int y) { return x == 1 || x == 6 || y == 1 ? nowhere(x, y) : same(x, y); }},
    {5,
     6,
     {1, 3.0f, 2.0f, 10},
     [](int x, int y) { return x == 1 || y == 1 || y == 6 ? nowhere(x, y) : same(x, y); }},
    // Doubling about column 3 and row 1 from the top (surface row 4); halves go to even.
    // Just below 1 from the top the centre row is 4.00000006, kept as 4 in single precision.
    {6, 5, {0, 3.0f, 1.0f, 20}, doubled},
    {6, 5, {0, 3.0f, 0.99999994f, 20}, doubled},
    // Halving about (4, 4): x -> 2x - 4, inside a background border.
    {8,
     8,
     {0, 4.0f, 4.0f, 5},
     [](int x, int y) {
         const bool inside = x >= 3 && x <= 6 && y >= 3 && y <= 6;
         return inside ? std::pair{2 * x - 4, 2 * y - 4} : nowhere(x, y);
     }},
    // A negative factor mirrors through the centre (4, 3).
    {7,
     5,
     {0, 4.0f, 2.0f, -10},
     [](int x, int y) {
         return std::pair{8 - x, 6 - y};
     }},
    // A zero factor, or a centre that is not a finite number, maps every pixel nowhere.
    {5, 4, {0, 2.0f, 2.0f, 0}, nowhere},
    {5, 4, {1, 2.0f, 2.0f, 0}, nowhere},
    {5, 4, {0, kNaN, 2.0f, 10}, nowhere},
    {5, 4, {1, 2.0f, kNaN, 10}, nowhere},
    {5, 4, {0, -kInf, 2.0f, 10}, nowhere},
};

TEST(MagnifyKernel, HandWorkedCasesKeepingTheReservedByte) {
    std::mt19937 random(4);
    for (const HandCase& hand : kHandCases) {
        KernelSurface surface(hand.w, hand.h);
        surface.fillRandomly(random);
        const auto before = surface.planeBytes(2);
        run(surface, hand.call);
        EXPECT_TRUE(surface.wordsAre(
            2,
            [&](int x, int y) {
                const auto [sx, sy] = hand.from(x, y);
                const std::uint32_t reserved = before[4 * (hand.w * (y - 1) + x - 1) + 3];
                return reserved << 24 | (sx == 0 ? kBackgroundPixel : colourAt(surface, 3, sx, sy));
            }))
            << hand.w << "x" << hand.h << " op " << hand.call.opCode << " c " << hand.call.tenths;
    }
}

}  // namespace
}  // namespace quillon
