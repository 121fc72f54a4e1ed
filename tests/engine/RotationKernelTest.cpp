// The rotation kernel against a plain, literal rotation written here, and on cases small
// enough to work out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <random>

#include "engine/RotationKernel.h"
#include "tests/engine/KernelSurface.h"
#include "tests/engine/RandomArguments.h"
#include "tests/engine/SimdLevels.h"

namespace quillon {
namespace {

using testsupport::KernelSurface;
using testsupport::randomCentre;
using Planes = std::array<std::vector<std::uint8_t>, 3>;

struct Call {
    std::int32_t opCode;
    std::uint32_t colour;
    float a, b;
    std::int32_t degrees;
};

std::uint8_t* pixel(std::uint8_t* plane, int width, int x, int y) {
    return plane + 4 * ((y - 1) * width + (x - 1));
}

// The rotation done the slow way: every destination pixel from the top row down and from
// the right, each channel on its own, bounds tested in floating point.
void referenceRotation(Planes& planes, int W, int H, const Call& call) {
    if (call.opCode < 0 || call.opCode > 3) return;
    std::uint8_t* source = planes[call.opCode >= 2 ? 0 : 2].data();
    const double theta = (std::numbers::pi / 180.0) * call.degrees;
    const double cosT = float(std::cos(theta)), sinT = float(std::sin(theta));
    const double cx = call.a, cy = float(double(H) - double(call.b));
    const std::uint8_t background[3] = {std::uint8_t(call.colour >> 16),
                                        std::uint8_t(call.colour >> 8), std::uint8_t(call.colour)};
    for (int y = H; y >= 1; --y) {
        for (int x = W; x >= 1; --x) {
            const double fx = (x - cx) * cosT - (y - cy) * sinT + cx;
            const double fy = (y - cy) * cosT + (x - cx) * sinT + cy;
            std::uint8_t* d = pixel(planes[1].data(), W, x, y);
            std::copy(background, background + 3, d);
            if (call.opCode % 2 == 0) {
                const double sx = std::nearbyint(fx), sy = std::nearbyint(fy);
                if (sx >= 1 && sx <= W && sy >= 1 && sy <= H)
                    std::copy_n(pixel(source, W, int(sx), int(sy)), 3, d);
                continue;
            }
            const float px = float(fx), py = float(fy);
            const double ix = std::nearbyint(px - 0.5), iy = std::nearbyint(py - 0.5);
            if (!(ix >= 1 && ix <= W - 1 && iy >= 1 && iy <= H - 1)) continue;
            const double dx = float(px - ix), dy = float(py - iy);
            for (int k = 0; k < 3; ++k) {
                auto at = [&](int i, int j) {
                    return pixel(source, W, int(ix) + i, int(iy) + j)[k];
                };
                const double lower = at(0, 0) + (at(1, 0) - at(0, 0)) * dx;
                const double upper = at(0, 1) + (at(1, 1) - at(0, 1)) * dx;
                d[k] = std::uint8_t(
                    std::clamp(std::nearbyint(lower + (upper - lower) * dy), 0., 255.));
            }
        }
    }
}

void runKernel(KernelSurface& surface, const Call& call) {
    surface.run(rotationKernel, {.opCode = call.opCode,
                                 .colour = call.colour,
                                 .a = std::bit_cast<KernelArgument>(call.a),
                                 .b = std::bit_cast<KernelArgument>(call.b),
                                 .c = call.degrees});
}

std::int32_t randomDegrees(std::mt19937& random) {
    constexpr std::int32_t kNamed[] = {360, 450, 540, 630, 720, 405, 0, -32408, 32767, 1000000};
    return random() % 3 == 0 ? testsupport::pick(random, kNamed)
                             : std::int32_t(random() % 65536) - 32768 + 360;
}

TEST(RotationKernel, MatchesThePlainRotationOnRandomSurfaces) {
    std::mt19937 random(4711);
    constexpr int kShapes[][2] = {{1, 1}, {2, 5}, {5, 2}, {1, 7}, {7, 1}, {2, 2}, {3, 3}};
    for (const simd::Level level : testsupport::simdLevels()) {
        const testsupport::ScopedSimdLevel scoped(level);
        for (int round = 0; round < 3000; ++round) {
            const bool named = round < 7 * 40;
            const int W = named ? kShapes[round % 7][0] : 1 + int(random() % 40);
            const int H = named ? kShapes[round % 7][1] : 1 + int(random() % 40);
            KernelSurface surface(W, H);
            surface.fillRandomly(random);
            const Call call{std::int32_t(round % 4), std::uint32_t(random()),
                            randomCentre(random, W), randomCentre(random, H),
                            randomDegrees(random)};
            Planes expected = surface.planes();
            referenceRotation(expected, W, H, call);
            runKernel(surface, call);
            ASSERT_EQ(surface.planes(), expected)
                << W << "x" << H << " op " << call.opCode << " centre " << call.a << "," << call.b
                << " c " << call.degrees;
        }
    }
}

// A 5 x 5 picture whose pixel (x, y) has blue x, green y and red 10x + y; the reserved
// bytes tell the source planes apart (0 original, 0x77 undo), and those of the working
// plane are 0xEE and must stay so.
class RotationSmallPicture : public ::testing::Test {
protected:
    RotationSmallPicture() { paint(5, 5); }
    void paint(int w, int h) {
        W = w, H = h;
        surface.emplace(W, H);
        for (int y = 1; y <= H; ++y) {
            for (int x = 1; x <= W; ++x) {
                surface->setWord(1, x, y, colour(x, y));
                surface->setWord(3, x, y, 0x77000000u | colour(x, y));
                surface->setWord(2, x, y, 0xEE000000u);
            }
        }
    }
    std::uint32_t working(int x, int y) { return surface->word(2, x, y); }
    static std::uint32_t colour(int x, int y) { return (10 * x + y) << 16 | y << 8 | x; }
    static std::uint32_t word(int x, int y) { return 0xEE000000u | colour(x, y); }
    static constexpr std::uint32_t kBackground = 0x80332211, kBackgroundWord = 0xEE112233;
    int W = 0, H = 0;
    std::optional<KernelSurface> surface;
};

TEST_F(RotationSmallPicture, QuarterTurnAboutAGivenCentreGoesClockwiseOnTheScreen) {
    runKernel(*surface, {2, kBackground, 3.0f, 2.0f, 90 + 360});
    EXPECT_EQ(working(3, 2), word(4, 3)) << "right of the centre goes below it";
    EXPECT_EQ(working(3, 4), word(2, 3)) << "left of the centre goes above it";
    EXPECT_EQ(working(1, 5), word(1, 1)) << "bottom left goes to top left";
    EXPECT_EQ(working(3, 3), word(3, 3));
}

TEST_F(RotationSmallPicture, WholeTurnCopiesColoursAndEachOpCodeReadsItsOwnPlane) {
    for (std::int32_t op : {0, 2}) {
        runKernel(*surface, {op, kBackground, 2.0f, 2.0f, 720});
        EXPECT_TRUE(surface->wordsAre(2, word)) << op;
    }
    const int source[] = {3, 3, 1, 1};
    for (std::int32_t op = 0; op <= 3; ++op) {
        surface->pixel(source[op], 3, 3)[0] = std::uint8_t(0xA0 + op);
        runKernel(*surface, {op, kBackground, 3.0f, 2.0f, 360});
        EXPECT_EQ(working(3, 3) & 0xFF, 0xA0u + op) << op;
    }
}

TEST_F(RotationSmallPicture, BlendedWholeTurnLosesTheBorderTheCellRuleCannotReach) {
    for (const auto& size : {std::pair{4, 3}, std::pair{5, 4}}) {
        paint(size.first, size.second);
        runKernel(*surface, {3, kBackground, 1.0f, 1.0f, 360});
        EXPECT_TRUE(surface->wordsAre(2, [&](int x, int y) {
            const bool lost = x == 1 || y == 1 || (x == W && W % 2 == 0) || (y == H && H % 2 == 0);
            return lost ? kBackgroundWord : word(x, y);
        }));
    }
}

// A half turn about column 2.25 lands every point half-way between two columns.
TEST_F(RotationSmallPicture, BlendOfTwoNeighboursRoundsHalvesToEven) {
    paint(4, 3);
    auto source = [&](int x, int y) { return surface->pixel(1, x, y); };
    source(2, 2)[0] = source(2, 3)[0] = 200;
    source(3, 2)[0] = source(3, 3)[0] = 201;
    source(4, 2)[0] = 206, source(4, 2)[1] = 6, source(4, 2)[2] = 255;
    runKernel(*surface, {3, kBackground, 2.25f, 1.0f, 540});
    EXPECT_EQ(working(1, 2), 0xEE000000u | 144u << 16 | 4u << 8 | 204u);  // 203.5, 4, 143.5
    EXPECT_EQ(working(2, 1), 0xEE000000u | 28u << 16 | 3u << 8 | 200u);   // 200.5, 3, 28
    EXPECT_EQ(working(4, 2), kBackgroundWord);
    EXPECT_EQ(working(2, 3), kBackgroundWord);

    // Just past the half: 200.5 + 2^-18 must not be rounded to a tie on the way.
    runKernel(*surface, {3, kBackground, 2.25f + std::ldexp(1.0f, -19), 1.0f, 540});
    EXPECT_EQ(working(2, 2), 0xEE000000u | 27u << 16 | 2u << 8 | 201u);
    EXPECT_EQ(working(2, 1), 0xEE000000u | 28u << 16 | 3u << 8 | 201u);
}

TEST_F(RotationSmallPicture, OtherOpCodesAndAbsurdCentresStayInside) {
    for (std::int32_t op : {-1, 4, 7, std::numeric_limits<std::int32_t>::min()}) {
        runKernel(*surface, {op, kBackground, 3.0f, 2.0f, 450});
        EXPECT_EQ(working(1, 1), 0xEE000000u) << op;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (std::int32_t op = 0; op <= 3; ++op) {
        runKernel(*surface, {op, kBackground, nan, 2.0f, 360});
        EXPECT_EQ(working(3, 3), kBackgroundWord) << op;
    }
}

}  // namespace
}  // namespace quillon
