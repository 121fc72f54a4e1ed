// Palette effects on picture-sized surfaces. Every benchmark reports the bytes of one
// plane per iteration, so the packed kernel, the plain byte loop and a block copy of a
// plane (the speed of memory itself) read as comparable throughputs.
//
// Quick smoke run: quillon_bench --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include "bench/BenchSurfaces.h"
#include "engine/PalEffectsKernel.h"
#include "engine/PalEffectsPasses.h"

namespace quillon {
namespace {

using bench::BenchSurface;

constexpr std::int32_t kStepAmount = 8;

// All three planes hold the same photo-like picture.
void paintAllPlanes(BenchSurface& surface) {
    surface.paintPhotoLike(1, {2, 3});
}

void runKernel(BenchSurface& surface, std::int32_t opCode) {
    surface.record().opCode = opCode;
    surface.record().amount = kStepAmount;
    palEffectsKernel(&surface.record(), 0x40000000, 0x40400000, 4);
}

void reportPlanes(benchmark::State& state, const BenchSurface& surface) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(surface.planeBytes()));
}

// Arguments: op code, width, height. Packed ops, grey and noise cost the same whatever
// the picture holds, so each iteration works on the picture the previous one left.
void BM_Kernel(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    paintAllPlanes(surface);
    for (auto _ : state) {
        runKernel(surface, std::int32_t(state.range(0)));
        benchmark::ClobberMemory();
    }
    reportPlanes(state, surface);
}

void BM_PackedPlainLoop(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    paintAllPlanes(surface);
    const auto step = *paleffects::packedStepFor(std::int32_t(state.range(0)), kStepAmount);
    for (auto _ : state) {
        paleffects::applyPackedScalar(surface.plane(2), std::size_t(surface.pixelCount()), step);
        benchmark::ClobberMemory();
    }
    reportPlanes(state, surface);
}

// A substitution leaves a picture the next one would find trivial, so each iteration
// starts again from the original plane, restored outside the timing.
void BM_SubstitutionKernel(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    paintAllPlanes(surface);
    for (auto _ : state) {
        state.PauseTiming();
        surface.copyPlane(1, 2);
        state.ResumeTiming();
        runKernel(surface, std::int32_t(state.range(0)));
        benchmark::ClobberMemory();
    }
    reportPlanes(state, surface);
}

// The undo snapshot: one plane copied to another, as fast as memory allows.
void BM_PlaneCopy(benchmark::State& state) {
    BenchSurface surface(state.range(0), state.range(1));
    paintAllPlanes(surface);
    for (auto _ : state) {
        surface.copyPlane(2, 3);
        benchmark::ClobberMemory();
    }
    reportPlanes(state, surface);
}

void packedOps(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {"op"},
                             {{0}, {1}, {2}, {3}, {4}, {5}, {6}, {7}, {8}, {9}, {11}},
                             benchmark::kMicrosecond);
}
void perPixelOps(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {"op"}, {{10}, {12}}, benchmark::kMicrosecond);
}
void substitutionOps(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {"op"}, {{13}, {14}, {15}, {16}, {17}, {18}, {19}},
                             benchmark::kMicrosecond);
}
void sizesOnly(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {}, {{}}, benchmark::kMicrosecond);
}

BENCHMARK(BM_PlaneCopy)->Apply(sizesOnly);
BENCHMARK(BM_Kernel)->Apply(packedOps);
BENCHMARK(BM_PackedPlainLoop)->Apply(packedOps);
BENCHMARK(BM_Kernel)->Apply(perPixelOps);
BENCHMARK(BM_SubstitutionKernel)->Apply(substitutionOps);

}  // namespace
}  // namespace quillon

BENCHMARK_MAIN();
