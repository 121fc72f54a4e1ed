#include "app/window/SingleText.h"

#include <cmath>

namespace quillon {
namespace {

QString textWithDigits(double value, int significantDigits) {
    if (value == 0.0) return QStringLiteral("0");  // also for -0
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
    return QString::number(value, 'G', significantDigits);
}

}  // namespace

QString textFromSingle(float value) {
    return textWithDigits(double(value), 7);
}

QString textFromDouble(double value) {
    return textWithDigits(value, 15);
}

}  // namespace quillon
