#pragma once

// Which vector instructions the kernels use. Every kernel has a baseline path (SSE2 on
// x86-64, where every processor has it, plain C++ elsewhere); the hot ones also have an
// AVX2 path, compiled in files of their own (*Avx2.cpp, with -mavx2) and entered only when
// the processor has AVX2. The choice is made once, at the first kernel call.
//
// Both paths give the same bytes. Tests cap the level to check the baseline path on a
// processor that would otherwise always take the AVX2 one.

namespace quillon::simd {

enum class Level { Baseline, Avx2 };

// The best level this build and this processor offer.
Level available();

// The level the kernels use now: the available one, or the cap if that is lower.
Level active();

inline bool useAvx2() {
    return active() == Level::Avx2;
}

// Caps the level the kernels use from now on, and returns the previous cap. For tests and
// measurements; Level::Avx2 lifts the cap.
Level setCeiling(Level ceiling);

}  // namespace quillon::simd
