#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>

namespace quillon::fx {

// Reads a whole number written in decimal or with a 0x prefix in hexadecimal, with an
// optional leading minus ("-5", "-0x10"). The whole text must be the number: no blanks,
// no trailing characters. Numbers too large for 64 bits come back pinned to the nearest
// 64-bit limit, so the caller's range check still reports them as out of range.
std::optional<std::int64_t> parseInteger(QStringView text);

// The same for plain decimal digits only, as used in sizes like 640x480.
std::optional<std::int64_t> parseDecimal(QStringView text);

// Reads a finite real number: anything parseInteger reads, or a decimal number with a
// fraction and an exponent ("1.5", "-.25", "2e3"). "nan", "inf" and numbers too large for
// a double are not numbers here.
std::optional<double> parseReal(QStringView text);

}  // namespace quillon::fx
