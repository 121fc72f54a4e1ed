#pragma once

#include <cstdint>
#include <limits>
#include <random>

namespace quillon::testsupport {

template <typename T, std::size_t N>
T pick(std::mt19937& random, const T (&values)[N]) {
    return values[random() % N];
}

inline float uniform(std::mt19937& random, float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
}

// A centre coordinate along `extent` pixels: now and then one no picture has (not a
// number, infinite, far off or tiny), else a whole or half pixel near the picture, where
// the rounding and the blending cells have their ties, or anywhere near it.
inline float randomCentre(std::mt19937& random, int extent) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kOdd[] = {kNaN,   kInf,  -kInf, 3e38f, -3e38f, 1e30f,
                              -1e30f, 1e10f, 3e9f,  -3e9f, -2e9f,  1e-40f};
    const float whole = float(int(random() % unsigned(extent + 7)) - 3);
    const unsigned kind = random() % 10;
    if (kind == 0) return pick(random, kOdd);
    if (kind < 3) return whole + 0.5f;
    if (kind < 6) return whole;
    return uniform(random, -4.0f, float(extent) + 4.0f);
}

}  // namespace quillon::testsupport
