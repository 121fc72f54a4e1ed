// The sharpen filter on picture-sized pixels, in place, in pixels per second. Every
// iteration starts again from the photo-like picture, restored outside the timing, since a
// sharpened picture sharpened again clamps far more often than a photo does.
//
// Quick smoke run: quillon_bench --benchmark_filter=Sharpen --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/BenchSurfaces.h"
#include "filters/SharpenFilter.h"
#include "filters/mFilterQ.h"

namespace quillon {
namespace {

// Arguments: width, height. Plane 1 keeps the picture, plane 2 is filtered.
void BM_Sharpen(benchmark::State& state) {
    bench::BenchSurface surface(state.range(0), state.range(1));
    surface.paintPhotoLike(SurfacePlane::Original, {SurfacePlane::Working});
    const mFilterQ::FilterPixels pixels{surface.plane(SurfacePlane::Working),
                                        surface.record().width, surface.record().height};
    std::int32_t moduleProgress = 0, callerProgress = 0;
    for (auto _ : state) {
        state.PauseTiming();
        surface.copyPlane(SurfacePlane::Original, SurfacePlane::Working);
        state.ResumeTiming();
        mFilterQ::SharpenFilter(pixels, {moduleProgress, callerProgress},
                                mFilterQ::kSharpenDamping);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

void sizesOnly(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {}, {{}}, benchmark::kMillisecond);
}

BENCHMARK(BM_Sharpen)->Apply(sizesOnly);

}  // namespace
}  // namespace quillon
