// Palette effects on picture-sized surfaces, in pixels per second, so the packed kernel,
// the plain byte loop and a block copy of a plane (MemoryBench.cpp) read as comparable
// throughputs.
//
// Quick smoke run: quillon_bench --benchmark_filter=PalEffects --benchmark_min_time=0.01

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
    surface.paintPhotoLike(SurfacePlane::Original, {SurfacePlane::Working, SurfacePlane::Undo});
}

void runKernel(BenchSurface& surface, std::int32_t opCode) {
    surface.record().opCode = opCode;
    surface.record().amount = kStepAmount;
    palEffectsKernel(&surface.record(), 0x40000000, 0x40400000, 4);
}

// Arguments: op code, width, height. Packed ops, grey and noise cost the same whatever
// the picture holds, so each iteration works on the picture the previous one left.
void BM_PalEffects(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    paintAllPlanes(surface);
    for (auto _ : state) {
        runKernel(surface, std::int32_t(state.range(0)));
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

void BM_PalEffectsPackedPlain(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    paintAllPlanes(surface);
    const auto effect = *knownOp<PalEffect>(std::int32_t(state.range(0)));
    const auto step = *paleffects::packedStepFor(effect, kStepAmount);
    for (auto _ : state) {
        paleffects::applyPackedScalar(surface.plane(SurfacePlane::Working),
                                      std::size_t(surface.pixelCount()), step);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

// A substitution leaves a picture the next one would find trivial, so each iteration
// starts again from the original plane, restored outside the timing.
void BM_PalEffectsRestored(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    paintAllPlanes(surface);
    for (auto _ : state) {
        state.PauseTiming();
        surface.copyPlane(SurfacePlane::Original, SurfacePlane::Working);
        state.ResumeTiming();
        runKernel(surface, std::int32_t(state.range(0)));
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

void packedOps(benchmark::internal::Benchmark* family) {
    using enum PalEffect;
    bench::withStandardSizes(family, {"op"},
                             {{codeOf(RedPlus)},
                              {codeOf(RedMinus)},
                              {codeOf(GreenPlus)},
                              {codeOf(GreenMinus)},
                              {codeOf(BluePlus)},
                              {codeOf(BlueMinus)},
                              {codeOf(Brighten)},
                              {codeOf(Darken)},
                              {codeOf(RotateColoursUp)},
                              {codeOf(RotateColoursDown)},
                              {codeOf(Negative)}},
                             benchmark::kMicrosecond);
}
void perPixelOps(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {"op"},
                             {{codeOf(PalEffect::Noise)}, {codeOf(PalEffect::Grey)}},
                             benchmark::kMicrosecond);
}
void substitutionOps(benchmark::internal::Benchmark* family) {
    using enum PalEffect;
    bench::withStandardSizes(family, {"op"},
                             {{codeOf(NearBlackToBlack)},
                              {codeOf(NearWhiteToWhite)},
                              {codeOf(BlackToWhite)},
                              {codeOf(WhiteToBlack)},
                              {codeOf(AllButWhiteToBlack)},
                              {codeOf(AllButBlackToWhite)},
                              {codeOf(BlackOrWhite)}},
                             benchmark::kMicrosecond);
}

BENCHMARK(BM_PalEffects)->Apply(packedOps);
BENCHMARK(BM_PalEffectsPackedPlain)->Apply(packedOps);
BENCHMARK(BM_PalEffects)->Apply(perPixelOps);
BENCHMARK(BM_PalEffectsRestored)->Apply(substitutionOps);

}  // namespace
}  // namespace quillon
