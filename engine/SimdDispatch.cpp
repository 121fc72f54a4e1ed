#include "engine/SimdDispatch.h"

#include <hwy/targets.h>

#include <atomic>

namespace quillon::simd {
namespace {

// The targets this build compiled and this processor runs, without any cap.
std::int64_t availableTargets() {
    static const std::int64_t targets = hwy::SupportedTargets() & HWY_TARGETS;
    return targets;
}

Level best() {
    const std::int64_t targets = availableTargets();
    return targets & -targets;
}

std::atomic<Level> ceiling{0};  // 0: no cap

}  // namespace

std::vector<Level> levels() {
    std::vector<Level> result;
    for (std::int64_t targets = availableTargets(); targets != 0; targets &= targets - 1) {
        result.insert(result.begin(), targets & -targets);
    }
    return result;
}

const char* name(Level level) {
    return hwy::TargetName(level);
}

Level active() {
    const Level cap = ceiling.load(std::memory_order_relaxed);
    return cap == 0 ? best() : cap;
}

Level setCeiling(Level newCeiling) {
    // Targets at or below the cap, that is the cap's bit and every higher one.
    const std::int64_t allowed = availableTargets() & ~(newCeiling - 1);
    const bool lifted = newCeiling <= best() || allowed == 0;
    hwy::SetSupportedTargetsForTest(lifted ? 0 : allowed);
    hwy::GetChosenTarget().Update(hwy::SupportedTargets());
    const Level previous = ceiling.exchange(lifted ? 0 : newCeiling, std::memory_order_relaxed);
    return previous == 0 ? best() : previous;
}

}  // namespace quillon::simd
