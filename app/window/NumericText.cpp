#include "app/window/NumericText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace quillon {
namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The longest leading number from `start`: an optional sign, digits with at most one
// ".", and at least one digit. Its characters are all ASCII, so they go into `number`
// one byte each; the "+" sign is left out because the conversion does not accept it.
bool leadingNumber(const QString& text, qsizetype start, std::string& number) {
    qsizetype at = start;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        if (text[at] == u'-') number += '-';
        ++at;
    }
    bool digits = false, point = false;
    for (; at < text.size(); ++at) {
        if (isDigit(text[at])) {
            digits = true;
        } else if (text[at] == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        number += char(text[at].unicode());
    }
    return digits;
}

// Whether a number that did not fit a double was too large, rather than too small: its
// first non-zero digit stands before the decimal point.
bool tooLarge(const std::string& number) {
    for (char c : number) {
        if (c == '.') return false;
        if (c >= '1' && c <= '9') return true;
    }
    return false;
}

}  // namespace

double numericValueOfText(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && isBlank(text[start])) ++start;
    std::string number;
    if (!leadingNumber(text, start, number)) return 0.0;
    double value = 0.0;
    const char* first = number.data();
    const auto [end, error] =
        std::from_chars(first, first + number.size(), value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        if (tooLarge(number)) throw std::overflow_error("the number does not fit a double");
        return 0.0;
    }
    return value;
}

float singleFromDouble(double value) {
    if (std::isfinite(value) && std::fabs(value) > double(std::numeric_limits<float>::max()))
        throw std::overflow_error("the number does not fit single precision");
    return float(value);
}

std::int32_t nearestInt32(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return kNoInt32;
    return static_cast<std::int32_t>(rounded);
}

}  // namespace quillon
