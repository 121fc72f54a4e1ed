#pragma once

#include <QString>
#include <cstdint>
#include <limits>

namespace quillon {

// The number a person typed into a text box, read the same way whatever the desktop's
// language: leading blanks are skipped, then the longest leading part that forms a
// decimal number ("-2", "1.5", ".5", "3.") is taken, with "." as the only decimal
// separator. Anything after it is ignored, and a text that does not start with a number
// reads as 0 (" 1.5x" is 1.5, "1,5" is 1, "abc" is 0). A number too large for a double
// is an overflow error (std::overflow_error), one too small for it reads as 0.
double numericValueOfText(const QString& text);

// A double stored in single precision, rounded to the nearest single; a finite value
// beyond the single range is an overflow error (std::overflow_error) instead of an
// undefined conversion.
float singleFromDouble(double value);

// The whole number nearest a double (milliseconds, slider steps), halves going to the
// even one; a value that is not finite or does not fit 32 bits gives kNoInt32, the most
// negative 32-bit number, as the processor's own conversion does.
inline constexpr std::int32_t kNoInt32 = std::numeric_limits<std::int32_t>::min();
std::int32_t nearestInt32(double value);

}  // namespace quillon
