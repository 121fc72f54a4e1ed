#include "engine/SimdDispatch.h"

#include <algorithm>
#include <atomic>

namespace quillon::simd {
namespace {

// QUILLON_HAVE_AVX2 is defined by the build when the *Avx2.cpp files are compiled in (GCC
// or Clang on x86-64). The processor check also covers the operating system's support for
// the 256-bit registers.
Level detect() {
#if defined(QUILLON_HAVE_AVX2)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return Level::Avx2;
#endif
    return Level::Baseline;
}

std::atomic<Level> ceiling{Level::Avx2};

}  // namespace

Level available() {
    static const Level level = detect();
    return level;
}

Level active() {
    return std::min(available(), ceiling.load(std::memory_order_relaxed));
}

Level setCeiling(Level newCeiling) {
    return ceiling.exchange(newCeiling, std::memory_order_relaxed);
}

}  // namespace quillon::simd
