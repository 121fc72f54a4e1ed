#include "platform/core/SystemTimer.h"

#include <QTime>

namespace quillon::platform {
namespace {

std::optional<double> timerOverride;

}  // namespace

double systemTimer() {
    if (timerOverride) return *timerOverride;
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void overrideSystemTimer(std::optional<double> seconds) {
    timerOverride = seconds;
}

}  // namespace quillon::platform
