#include "app/ColourStretch.h"

#include <cmath>

#include "app/BoxPixelScan.h"

namespace quillon {
namespace {

constexpr std::int32_t kBrightLimit = 205;

// value - value x share in double precision, rounded to the nearest whole number with
// halves going to the even one (255 gives 178.5 and so 178).
std::int32_t lowered(std::int32_t value, double share) {
    return std::int32_t(std::nearbyint(double(value) - double(value) * share));
}

// Only the first channel above the limit, in the order red, green, blue, comes down.
adjustments::Channels stretched(adjustments::Channels channels) {
    if (channels.red > kBrightLimit) {
        channels.red = lowered(channels.red, 0.3);
    } else if (channels.green > kBrightLimit) {
        channels.green = lowered(channels.green, 0.2);
    } else if (channels.blue > kBrightLimit) {
        channels.blue = lowered(channels.blue, 0.3);
    }
    return channels;
}

}  // namespace

void ColourStretch(platform::PictureBoxModel& box) {
    adjustments::scanBoxPixels(box, stretched);
    box.refresh();
}

}  // namespace quillon
