#pragma once

// The kernels take their AVX2 paths whenever the processor has AVX2, so on such a machine
// the baseline paths would go unchecked. Agreement tests run once at every level instead.

#include <gtest/gtest.h>

#include <vector>

#include "engine/SimdDispatch.h"

namespace quillon::testsupport {

// Every level this build and processor offer, the baseline first.
inline std::vector<simd::Level> simdLevels() {
    if (simd::available() == simd::Level::Avx2) return {simd::Level::Baseline, simd::Level::Avx2};
    return {simd::Level::Baseline};
}

inline const char* simdLevelName(simd::Level level) {
    return level == simd::Level::Avx2 ? "AVX2 path" : "baseline path";
}

// Holds the kernels at `level` while it lives, and names the level in every failure.
class ScopedSimdLevel {
public:
    explicit ScopedSimdLevel(simd::Level level)
        : previous_(simd::setCeiling(level)), trace_(__FILE__, __LINE__, simdLevelName(level)) {}
    ~ScopedSimdLevel() { simd::setCeiling(previous_); }
    ScopedSimdLevel(const ScopedSimdLevel&) = delete;
    ScopedSimdLevel& operator=(const ScopedSimdLevel&) = delete;

private:
    simd::Level previous_;
    ::testing::ScopedTrace trace_;
};

}  // namespace quillon::testsupport
