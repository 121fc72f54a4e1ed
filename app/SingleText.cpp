#include "app/SingleText.h"

#include <cmath>

namespace quillon {

QString textFromSingle(float value) {
    if (value == 0.0f) return QStringLiteral("0");  // also for -0
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
    return QString::number(double(value), 'G', 7);
}

}  // namespace quillon
