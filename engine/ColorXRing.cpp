// The brightening ring: rings of growing radius round a centre, each multiplying the
// pixels it passes by a factor that falls from just under 2 near the centre to exactly 1
// at the last ring. A channel pushed past 255 takes colour X's value instead.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "engine/ColorXPasses.h"

namespace quillon::colorx {
namespace {

constexpr int kDegrees = 359;  // whole degrees 359 down to 1; 0 is not visited
constexpr std::int64_t kRingsPerAmount = 24;

// The sine and cosine of every visited angle g·k, k being a degree in single precision.
struct AngleTable {
    std::array<double, kDegrees + 1> sine{}, cosine{};  // indexed by g
};

AngleTable makeAngleTable() {
    const auto degree = float(std::numbers::pi / 180.0);
    AngleTable table;
    for (int g = 1; g <= kDegrees; ++g) {
        table.sine[g] = std::sin(double(g) * double(degree));
        table.cosine[g] = std::cos(double(g) * double(degree));
    }
    return table;
}

struct RingRange {
    std::int64_t first = 1, last = 0;
};

// The rings that can reach a pixel. A place rounds into the picture only if it lies in
// [0.5, W + 0.5] x [0.5, H + 0.5], so a ring closer to the centre than that box, or
// farther than its farthest corner, leaves the picture alone and is skipped; the margin
// of 2 dwarfs the rounding of the sums. The last ring multiplies by exactly 1 and changes
// nothing, so it is skipped too. Skipping keeps a large Amount from costing rings that
// never meet the picture.
RingRange ringsThatMeetThePicture(const PlaneView& plane, double centreX, double centreY,
                                  std::int64_t rings) {
    constexpr double kMargin = 2.0;
    const double right = plane.width + 0.5, top = plane.height + 0.5;
    const double nearX = std::max({0.5 - centreX, 0.0, centreX - right});
    const double nearY = std::max({0.5 - centreY, 0.0, centreY - top});
    const double farX = std::max(std::fabs(centreX - 0.5), std::fabs(centreX - right));
    const double farY = std::max(std::fabs(centreY - 0.5), std::fabs(centreY - top));
    const double first = std::max(1.0, std::floor(std::hypot(nearX, nearY) - kMargin));
    const double last = std::min(double(rings - 1), std::ceil(std::hypot(farX, farY) + kMargin));
    if (!(first <= last)) return {};
    return {std::int64_t(first), std::int64_t(last)};
}

inline void brighten(std::uint8_t* pixel, double factor, const ColourX& colour) {
    for (int c = 0; c < 3; ++c) {
        const std::int32_t v = roundToInt32(double(pixel[c]) * factor);
        pixel[c] = v > 255 ? colour.channel[c] : std::uint8_t(v);
    }
}

}  // namespace

void brightenRing(const PlaneView& plane, const ColourX& colour, std::int32_t amount, float centreX,
                  float centreYFromTop) {
    const double x0 = centreX;
    const double y0 = double(plane.height) - double(centreYFromTop);
    // A centre that is not a finite number puts every place outside the picture.
    if (!std::isfinite(x0) || !std::isfinite(y0)) return;
    static const AngleTable angles = makeAngleTable();
    const std::int64_t rings = kRingsPerAmount * amount;
    const RingRange range = ringsThatMeetThePicture(plane, x0, y0, rings);
    for (std::int64_t r = range.first; r <= range.last; ++r) {
        const double radius = double(r);
        const double factor = float(2.0 - radius / double(rings));
        for (int g = kDegrees; g >= 1; --g) {
            const std::int32_t x = roundToInt32(x0 + radius * angles.sine[g]);
            const std::int32_t y = roundToInt32(y0 + radius * angles.cosine[g]);
            if (x >= 1 && x <= plane.width && y >= 1 && y <= plane.height)
                brighten(plane.targetAt(x, y), factor, colour);
        }
    }
}

}  // namespace quillon::colorx
