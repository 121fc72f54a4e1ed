#pragma once

// 32-bit integer arithmetic that reports overflow instead of wrapping: a picture or an
// argument too large for the 32-bit fields it must fit ends the operation with
// std::overflow_error, never with a wrapped, meaningless size.

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace quillon {

inline std::int32_t checkedAdd(std::int32_t a, std::int32_t b, const char* what = "overflow") {
    std::int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) throw std::overflow_error(what);
    return sum;
}

inline std::int32_t checkedSubtract(std::int32_t a, std::int32_t b, const char* what = "overflow") {
    std::int32_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference)) throw std::overflow_error(what);
    return difference;
}

inline std::int32_t checkedMultiply(std::int32_t a, std::int32_t b, const char* what = "overflow") {
    std::int32_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) throw std::overflow_error(what);
    return product;
}

// Truncates toward zero; a zero divisor is a domain error.
inline std::int32_t checkedDivide(std::int32_t a, std::int32_t divisor,
                                  const char* what = "overflow") {
    if (divisor == 0) throw std::domain_error("division by zero");
    if (divisor == -1 && a == std::numeric_limits<std::int32_t>::min())
        throw std::overflow_error(what);
    return a / divisor;
}

// Bytes of a 32-bit-per-pixel bitmap: |height| rows of whole 32-bit words.
inline std::int32_t checkedBitmapBytes(std::int32_t width, std::int32_t height,
                                       const char* what = "overflow") {
    const std::int32_t rowBits = checkedAdd(checkedMultiply(width, 32, what), 31, what);
    const std::int32_t rows = height < 0 ? checkedMultiply(height, -1, what) : height;
    return checkedMultiply(rows, checkedMultiply(rowBits / 32, 4, what), what);
}

}  // namespace quillon
