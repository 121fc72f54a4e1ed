// The physical limit every kernel is measured against: one plane (4·W·H bytes) read and
// written by memcpy, as the undo snapshot does, in pixels per second.

#include <benchmark/benchmark.h>

#include "bench/BenchSurfaces.h"

namespace quillon {
namespace {

void BM_Memcpy(benchmark::State& state) {
    bench::BenchSurface surface(state.range(0), state.range(1));
    surface.paintPhotoLike(SurfacePlane::Original, {SurfacePlane::Working, SurfacePlane::Undo});
    for (auto _ : state) {
        surface.copyPlane(SurfacePlane::Working, SurfacePlane::Undo);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

void sizesOnly(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {}, {{}}, benchmark::kMicrosecond);
}

BENCHMARK(BM_Memcpy)->Apply(sizesOnly);

}  // namespace
}  // namespace quillon

BENCHMARK_MAIN();
