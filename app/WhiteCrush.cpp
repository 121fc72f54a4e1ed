#include "app/WhiteCrush.h"

#include "app/BoxPixelScan.h"

namespace quillon {
namespace {

constexpr std::int32_t kMinimumStart = 256;
constexpr std::int32_t kMinimumCap = 100;

// The darkest non-zero value of one channel seen so far in the scan, at most 100. It only
// ever falls, so what a pixel loses depends on the pixels visited before it.
class RunningMinimum {
public:
    void take(std::int32_t value) {
        if (value > 0 && value < minimum_) minimum_ = value;
    }
    std::int32_t capped() {
        if (minimum_ > kMinimumCap) minimum_ = kMinimumCap;
        return minimum_;
    }

private:
    std::int32_t minimum_ = kMinimumStart;
};

// Lowers every channel by its running minimum. A channel of 0 goes negative, so that
// pixel cannot be composed and keeps its colour.
class Crush {
public:
    adjustments::Channels operator()(const adjustments::Channels& read) {
        red_.take(read.red);
        green_.take(read.green);
        blue_.take(read.blue);
        return {read.red - red_.capped(), read.green - green_.capped(), read.blue - blue_.capped()};
    }

private:
    RunningMinimum red_;
    RunningMinimum green_;
    RunningMinimum blue_;
};

}  // namespace

void WhiteCrush(platform::PictureBoxModel& box) {
    adjustments::scanBoxPixels(box, Crush{});
    box.refresh();
}

}  // namespace quillon
