#pragma once

// Which vector instructions the kernels use. The vector code is written once, on Highway,
// and compiled for every instruction set the build keeps (engine/CMakeLists.txt); at the first
// kernel call Highway picks the best one this processor has.
//
// Every level gives the same bytes. Tests hold the kernels at each level in turn, so that
// the levels below the best one this processor has are checked too.

#include <cstdint>
#include <vector>

namespace quillon::simd {

// One instruction-set level: a Highway target bit (a lower bit is a better target).
using Level = std::int64_t;

// Every level this build and this processor offer, the lowest first.
std::vector<Level> levels();

// The level's name, such as "AVX2" or "EMU128".
const char* name(Level level);

// The level the kernels use now: the best available one, or the cap if that is lower.
Level active();

// Caps the level the kernels use from now on, and returns the previous cap. For tests,
// fuzzing and measurements; the best of levels() lifts the cap.
Level setCeiling(Level ceiling);

}  // namespace quillon::simd
