#include "tools/fx/FxNumbers.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace quillon::fx {
namespace {

constexpr std::uint64_t kPinned = std::uint64_t{1} << 63;

std::optional<int> digitValue(QChar c, int base) {
    int value = -1;
    if (c >= u'0' && c <= u'9') value = c.unicode() - u'0';
    if (c >= u'a' && c <= u'f') value = c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F') value = c.unicode() - u'A' + 10;
    if (value < 0 || value >= base) return std::nullopt;
    return value;
}

// The magnitude of a run of digits; stops growing at 2^63 so it never overflows.
std::optional<std::uint64_t> parseMagnitude(QStringView digits, int base) {
    if (digits.isEmpty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    for (const QChar c : digits) {
        const std::optional<int> digit = digitValue(c, base);
        if (!digit) return std::nullopt;
        if (magnitude < kPinned)
            magnitude = magnitude * std::uint64_t(base) + std::uint64_t(*digit);
        if (magnitude > kPinned) magnitude = kPinned;
    }
    return magnitude;
}

std::int64_t applySign(std::uint64_t magnitude, bool negative) {
    if (negative)
        return magnitude >= kPinned ? std::numeric_limits<std::int64_t>::min()
                                    : -std::int64_t(magnitude);
    return magnitude >= kPinned ? std::numeric_limits<std::int64_t>::max()
                                : std::int64_t(magnitude);
}

}  // namespace

std::optional<std::int64_t> parseInteger(QStringView text) {
    const bool negative = text.startsWith(u'-');
    if (negative) text = text.mid(1);
    const bool hex = text.startsWith(u"0x", Qt::CaseInsensitive);
    const std::optional<std::uint64_t> magnitude =
        hex ? parseMagnitude(text.mid(2), 16) : parseMagnitude(text, 10);
    if (!magnitude) return std::nullopt;
    return applySign(*magnitude, negative);
}

std::optional<double> parseReal(QStringView text) {
    if (const std::optional<std::int64_t> whole = parseInteger(text)) return double(*whole);
    const bool plainCharacters = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E';
    });
    if (text.isEmpty() || !plainCharacters) return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::int64_t> parseDecimal(QStringView text) {
    const std::optional<std::uint64_t> magnitude = parseMagnitude(text, 10);
    if (!magnitude) return std::nullopt;
    return applySign(*magnitude, false);
}

}  // namespace quillon::fx
