#pragma once

// Conversions from floating point to 32-bit integers as the processor makes them: to the
// nearest integer with halves going to the even one, and the most negative 32-bit
// integer for a value that is not finite or does not fit. Defined for every input, so a
// kernel fed absurd arguments computes something well-defined instead of undefined.

#include <cmath>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {

inline constexpr std::int32_t kInvalidConversion = std::numeric_limits<std::int32_t>::min();

inline std::int32_t roundToInt32(double value) {
#if defined(__SSE2__)
    return _mm_cvtsd_si32(_mm_set_sd(value));
#else
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return kInvalidConversion;
    return static_cast<std::int32_t>(rounded);
#endif
}

inline std::int32_t roundToInt32(float value) {
#if defined(__SSE2__)
    return _mm_cvtss_si32(_mm_set_ss(value));
#else
    return roundToInt32(static_cast<double>(value));
#endif
}

}  // namespace quillon
