#pragma once

#include <QString>

namespace quillon {

// A single-precision number as decimal text with at most 7 significant digits, the way
// the program writes numbers for people and for the settings store: whole numbers
// plainly ("1230", "-15"), fractions without trailing zeros ("0.5"), and an exponent
// only for numbers that 7 digits cannot show ("1.234568E+07").
QString textFromSingle(float value);

// A double in the same style with at most 15 significant digits, so sums such as
// 1.0 + 0.1 read "1.1" and not with the binary error in the last places.
QString textFromDouble(double value);

}  // namespace quillon
