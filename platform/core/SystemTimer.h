#pragma once

#include <optional>

namespace quillon::platform {

// Seconds since local midnight, with the fraction of the current second: the clock that
// effects use to re-seed the shared random source so that two runs differ.
double systemTimer();

// Pins the value systemTimer() returns, so a test can predict the random numbers an
// effect draws; an empty value goes back to the real clock.
void overrideSystemTimer(std::optional<double> seconds);

}  // namespace quillon::platform
