#pragma once

// The kernels take the best vector level the processor has, so on such a machine the
// lower levels would go unchecked. Agreement tests run once at every level instead.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/SimdDispatch.h"

namespace quillon::testsupport {

// Every level this build and processor offer, the lowest first.
inline std::vector<simd::Level> simdLevels() {
    return simd::levels();
}

// Holds the kernels at `level` while it lives, and names the level in every failure.
class ScopedSimdLevel {
public:
    explicit ScopedSimdLevel(simd::Level level)
        : previous_(simd::setCeiling(level)),
          trace_(__FILE__, __LINE__, std::string(simd::name(level)) + " path") {}
    ~ScopedSimdLevel() { simd::setCeiling(previous_); }
    ScopedSimdLevel(const ScopedSimdLevel&) = delete;
    ScopedSimdLevel& operator=(const ScopedSimdLevel&) = delete;

private:
    simd::Level previous_;
    ::testing::ScopedTrace trace_;
};

}  // namespace quillon::testsupport
