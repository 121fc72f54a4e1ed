#include "app/adjustments/WhiteCrush.h"

#include "app/adjustments/BoxPixelScan.h"

namespace quillon {
namespace {

constexpr std::uint32_t kMinimumCap = 100;

// The darkest non-zero value of each channel seen so far in the scan, at most 100. It only
// ever falls, so what a pixel loses depends on the pixels visited before it. (As first
// described the minimum starts at 256 and is capped to 100 after every pixel; the first
// pixel's cap makes that the same as starting at 100.)
struct RunningMinima {
    std::uint32_t red = kMinimumCap, green = kMinimumCap, blue = kMinimumCap;
};

// 0 < value < minimum, as one unsigned comparison: a value of 0 wraps to the largest.
inline void take(std::uint32_t value, std::uint32_t& minimum) {
    if (value - 1 < minimum - 1) minimum = value;
}

// Lowers every channel by its running minimum. A channel of 0 would go negative, so that
// pixel cannot be composed and keeps its colour; any other channel is at least its
// minimum. The column past the right edge and the row past the bottom read the invalid
// colour (red -1, green 0, blue 0), which lowers no minimum and is never written, so they
// are left out.
void crushRow(std::uint32_t* row, int width, RunningMinima& m) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t r = row[x] >> 16 & 0xFF, g = row[x] >> 8 & 0xFF, b = row[x] & 0xFF;
        take(r, m.red);
        take(g, m.green);
        take(b, m.blue);
        if (r == 0 || g == 0 || b == 0) continue;
        row[x] = 0xFF000000u | (r - m.red) << 16 | (g - m.green) << 8 | (b - m.blue);
    }
}

}  // namespace

void WhiteCrush(platform::PictureBoxModel& box) {
    RunningMinima minima;
    adjustments::forEachBoxRow(
        box, [&](std::uint32_t* row, int width) { crushRow(row, width, minima); });
    box.refresh();
}

}  // namespace quillon
