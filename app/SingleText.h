#pragma once

#include <QString>

namespace quillon {

// A single-precision number as decimal text with at most 7 significant digits, the way
// the program writes numbers for people and for the settings store: whole numbers
// plainly ("1230", "-15"), fractions without trailing zeros ("0.5"), and an exponent
// only for numbers that 7 digits cannot show ("1.234568E+07").
QString textFromSingle(float value);

}  // namespace quillon
