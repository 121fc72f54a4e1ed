// Pixel effects on picture-sized surfaces, counted in pixels of the working plane per
// second. The kernel reads the undo plane and writes the working plane, so every
// iteration does the same work on the same picture; the photo-like undo plane meets the
// clamps of the filters now and then, not always.
//
// Quick smoke run: quillon_bench --benchmark_filter=PixelEffects --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/BenchSurfaces.h"
#include "engine/PixelEffectsKernel.h"

namespace quillon {
namespace {

using bench::BenchSurface;

// Arguments: op code, amount, width, height. The wave table is the host's, built once.
void BM_PixelEffects(benchmark::State& state) {
    const auto op = std::int32_t(state.range(0)), amount = std::int32_t(state.range(1));
    BenchSurface surface(state.range(2), state.range(3));
    surface.paintPhotoLike(SurfacePlane::Undo, {SurfacePlane::Working});
    KernelParameterRecord& record = surface.record();
    record.opCode = op;
    record.amount = amount;
    record.colour = 0x00204060;
    const std::vector<float> table = waveTable(record.width, record.height, amount);
    const auto c = op == codeOf(PixelEffect::Wave)
                       ? reinterpret_cast<KernelPointerArgument>(table.data())
                       : KernelPointerArgument{4};
    for (auto _ : state) {
        pixelEffectsKernel(&record, 0x40000000, 0x40400000, c);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

// The smoothing word loop without vectors. Arguments: amount, width, height.
void BM_PixelEffectsSmoothPlain(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    surface.paintPhotoLike(SurfacePlane::Undo, {SurfacePlane::Working});
    const PlaneView planes{surface.plane(SurfacePlane::Undo), surface.plane(SurfacePlane::Working),
                           surface.record().width, surface.record().height};
    for (auto _ : state) {
        pixeleffects::smoothPlain(planes, std::int32_t(state.range(0)));
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

// What the host adds for the wave: the table. Arguments: width, height.
void BM_PixelEffectsWaveTable(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            waveTable(std::int32_t(state.range(0)), std::int32_t(state.range(1)), 10));
    }
}

void everyVariant(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {"op", "amount"},
                             {{codeOf(PixelEffect::Smooth), 1},
                              {codeOf(PixelEffect::Smooth), 2},
                              {codeOf(PixelEffect::Smooth), 4},
                              {codeOf(PixelEffect::Smooth), 8},
                              {codeOf(PixelEffect::Edge), 1},
                              {codeOf(PixelEffect::DiagonalRelief), 1},
                              {codeOf(PixelEffect::Wave), 10},
                              {codeOf(PixelEffect::Emboss), 1},
                              {codeOf(PixelEffect::Twist), 8}},
                             benchmark::kMillisecond);
}
void smoothingAmounts(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {"amount"}, {{1}, {2}, {4}, {8}}, benchmark::kMillisecond);
}
void sizesOnly(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {}, {{}}, benchmark::kMicrosecond);
}

BENCHMARK(BM_PixelEffects)->Apply(everyVariant);
BENCHMARK(BM_PixelEffectsSmoothPlain)->Apply(smoothingAmounts);
BENCHMARK(BM_PixelEffectsWaveTable)->Apply(sizesOnly);

}  // namespace
}  // namespace quillon
