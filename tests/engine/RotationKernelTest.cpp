// The rotation kernel against a plain, literal rotation written here, and on cases small
// enough to work out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>

#include "engine/RotationKernel.h"
#include "tests/engine/PalEffectsTestSupport.h"

namespace quillon {
namespace {

using testsupport::ThreePlaneSurface;

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
void referenceRotation(ThreePlaneSurface& s, int W, int H, const Call& call) {
    if (call.opCode < 0 || call.opCode > 3) return;
    std::uint8_t* source = s.plane(call.opCode >= 2 ? 1 : 3);
    const double theta = (std::numbers::pi / 180.0) * call.degrees;
    const double cosT = float(std::cos(theta)), sinT = float(std::sin(theta));
    const double cx = call.a, cy = float(double(H) - double(call.b));
    const std::uint8_t background[3] = {std::uint8_t(call.colour >> 16),
                                        std::uint8_t(call.colour >> 8), std::uint8_t(call.colour)};
    for (int y = H; y >= 1; --y) {
        for (int x = W; x >= 1; --x) {
            const double fx = (x - cx) * cosT - (y - cy) * sinT + cx;
            const double fy = (y - cy) * cosT + (x - cx) * sinT + cy;
            std::uint8_t* d = pixel(s.plane(2), W, x, y);
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

KernelParameterRecord recordFor(ThreePlaneSurface& s, int W, int H, const Call& call) {
    return {.width = W,
            .height = H,
            .surface = s.plane(1),
            .colour = call.colour,
            .opCode = call.opCode};
}

void runKernel(ThreePlaneSurface& s, int W, int H, const Call& call) {
    const KernelParameterRecord record = recordFor(s, W, H, call);
    rotationKernel(&record, std::bit_cast<std::uint32_t>(call.a),
                   std::bit_cast<std::uint32_t>(call.b), call.degrees);
}

// Centres near and inside the picture, on whole and half pixels, and ones no picture has.
float randomCentre(std::mt19937& random, int extent) {
    constexpr float kOdd[] = {std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              3e38f,
                              -3e38f,
                              1e10f,
                              -2e9f,
                              1e-40f};
    switch (random() % 8) {
        case 0:
            return kOdd[random() % 8];
        case 1:
            return float(int(random() % (extent + 3)) - 1);
        case 2:
            return float(int(random() % (2 * extent + 4)) - 2) / 2.0f;
        default:
            return std::uniform_real_distribution<float>(-3.0f, extent + 3.0f)(random);
    }
}

std::int32_t randomDegrees(std::mt19937& random) {
    constexpr std::int32_t kNamed[] = {360, 450, 540, 630, 720, 405, 0, -32408, 32767, 1000000};
    return random() % 3 == 0 ? kNamed[random() % 10] : std::int32_t(random() % 65536) - 32768 + 360;
}

TEST(RotationKernel, MatchesThePlainRotationOnRandomSurfaces) {
    std::mt19937 random(4711);
    constexpr int kShapes[][2] = {{1, 1}, {2, 5}, {5, 2}, {1, 7}, {7, 1}, {2, 2}, {3, 3}};
    for (int round = 0; round < 3000; ++round) {
        const bool named = round < 7 * 40;
        const int W = named ? kShapes[round % 7][0] : 1 + int(random() % 40);
        const int H = named ? kShapes[round % 7][1] : 1 + int(random() % 40);
        ThreePlaneSurface surface(W, H);
        for (int p = 1; p <= 3; ++p)
            std::generate_n(surface.plane(p), 4 * W * H, [&] { return std::uint8_t(random()); });
        const Call call{std::int32_t(round % 4), std::uint32_t(random()), randomCentre(random, W),
                        randomCentre(random, H), randomDegrees(random)};
        const auto original = surface.planeBytes(1), undo = surface.planeBytes(3);
        ThreePlaneSurface expected(W, H);
        for (int p = 1; p <= 3; ++p) std::copy_n(surface.plane(p), 4 * W * H, expected.plane(p));
        referenceRotation(expected, W, H, call);
        runKernel(surface, W, H, call);
        SCOPED_TRACE(::testing::Message() << W << "x" << H << " op " << call.opCode << " centre "
                                          << call.a << "," << call.b << " c " << call.degrees);
        ASSERT_EQ(surface.planeBytes(2), expected.planeBytes(2));
        ASSERT_EQ(surface.planeBytes(1), original);
        ASSERT_EQ(surface.planeBytes(3), undo);
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
        surface = ThreePlaneSurface(W, H);
        for (int y = 1; y <= H; ++y)
            for (int x = 1; x <= W; ++x) {
                for (int p : {1, 3}) {
                    const std::uint8_t bytes[] = {std::uint8_t(x), std::uint8_t(y),
                                                  std::uint8_t(10 * x + y),
                                                  std::uint8_t(p == 3 ? 0x77 : 0)};
                    std::copy_n(bytes, 4, pixel(surface.plane(p), W, x, y));
                }
                pixel(surface.plane(2), W, x, y)[3] = 0xEE;
            }
    }
    std::uint32_t working(int x, int y) {
        std::uint32_t word;
        std::memcpy(&word, pixel(surface.plane(2), W, x, y), 4);
        return word;
    }
    static std::uint32_t word(int x, int y) {
        return 0xEE000000u | (10 * x + y) << 16 | y << 8 | x;
    }
    static constexpr std::uint32_t kBackground = 0x80332211, kBackgroundWord = 0xEE112233;
    int W = 0, H = 0;
    ThreePlaneSurface surface{1, 1};
};

TEST_F(RotationSmallPicture, QuarterTurnAboutAGivenCentreGoesClockwiseOnTheScreen) {
    runKernel(surface, W, H, {2, kBackground, 3.0f, 2.0f, 90 + 360});
    EXPECT_EQ(working(3, 2), word(4, 3)) << "right of the centre goes below it";
    EXPECT_EQ(working(3, 4), word(2, 3)) << "left of the centre goes above it";
    EXPECT_EQ(working(1, 5), word(1, 1)) << "bottom left goes to top left";
    EXPECT_EQ(working(3, 3), word(3, 3));
}

TEST_F(RotationSmallPicture, WholeTurnCopiesColoursAndEachOpCodeReadsItsOwnPlane) {
    for (std::int32_t op : {0, 2}) {
        runKernel(surface, W, H, {op, kBackground, 2.0f, 2.0f, 720});
        for (int y = 1; y <= H; ++y)
            for (int x = 1; x <= W; ++x) ASSERT_EQ(working(x, y), word(x, y)) << op;
    }
    std::uint8_t* source[] = {surface.plane(3), surface.plane(3), surface.plane(1),
                              surface.plane(1)};
    for (std::int32_t op = 0; op <= 3; ++op) {
        pixel(source[op], W, 3, 3)[0] = std::uint8_t(0xA0 + op);
        runKernel(surface, W, H, {op, kBackground, 3.0f, 2.0f, 360});
        EXPECT_EQ(working(3, 3) & 0xFF, 0xA0u + op) << op;
    }
}

TEST_F(RotationSmallPicture, BlendedWholeTurnLosesTheBorderTheCellRuleCannotReach) {
    for (const auto& size : {std::pair{4, 3}, std::pair{5, 4}}) {
        paint(size.first, size.second);
        runKernel(surface, W, H, {3, kBackground, 1.0f, 1.0f, 360});
        for (int y = 1; y <= H; ++y)
            for (int x = 1; x <= W; ++x) {
                const bool lost =
                    x == 1 || y == 1 || (x == W && W % 2 == 0) || (y == H && H % 2 == 0);
                ASSERT_EQ(working(x, y), lost ? kBackgroundWord : word(x, y)) << x << "," << y;
            }
    }
}

// A half turn about column 2.25 lands every point half-way between two columns.
TEST_F(RotationSmallPicture, BlendOfTwoNeighboursRoundsHalvesToEven) {
    paint(4, 3);
    auto source = [&](int x, int y) { return pixel(surface.plane(1), W, x, y); };
    source(2, 2)[0] = source(2, 3)[0] = 200;
    source(3, 2)[0] = source(3, 3)[0] = 201;
    source(4, 2)[0] = 206, source(4, 2)[1] = 6, source(4, 2)[2] = 255;
    runKernel(surface, W, H, {3, kBackground, 2.25f, 1.0f, 540});
    EXPECT_EQ(working(1, 2), 0xEE000000u | 144u << 16 | 4u << 8 | 204u);  // 203.5, 4, 143.5
    EXPECT_EQ(working(2, 1), 0xEE000000u | 28u << 16 | 3u << 8 | 200u);   // 200.5, 3, 28
    EXPECT_EQ(working(4, 2), kBackgroundWord);
    EXPECT_EQ(working(2, 3), kBackgroundWord);

    // Just past the half: 200.5 + 2^-18 must not be rounded to a tie on the way.
    runKernel(surface, W, H, {3, kBackground, 2.25f + std::ldexp(1.0f, -19), 1.0f, 540});
    EXPECT_EQ(working(2, 2), 0xEE000000u | 27u << 16 | 2u << 8 | 201u);
    EXPECT_EQ(working(2, 1), 0xEE000000u | 28u << 16 | 3u << 8 | 201u);
}

TEST_F(RotationSmallPicture, OtherOpCodesAndAbsurdCentresStayInside) {
    for (std::int32_t op : {-1, 4, 7, std::numeric_limits<std::int32_t>::min()}) {
        runKernel(surface, W, H, {op, kBackground, 3.0f, 2.0f, 450});
        EXPECT_EQ(working(1, 1), 0xEE000000u) << op;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (std::int32_t op = 0; op <= 3; ++op) {
        runKernel(surface, W, H, {op, kBackground, nan, 2.0f, 360});
        EXPECT_EQ(working(3, 3), kBackgroundWord) << op;
    }
}

}  // namespace
}  // namespace quillon
