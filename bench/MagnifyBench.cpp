// The magnify kernel on picture-sized surfaces, both passes, zooming in (every pixel
// comes from the source) and out (three quarters of the plane become background).
// Items are destination pixels.
//
// Quick smoke run: quillon_bench --benchmark_filter=Magnify --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include "bench/BenchSurfaces.h"
#include "engine/KernelHost.h"
#include "engine/MagnifyKernel.h"

namespace quillon {
namespace {

// Arguments: op code, factor in tenths, width, height.
void BM_Magnify(benchmark::State& state) {
    bench::BenchSurface surface(state.range(2), state.range(3));
    surface.paintPhotoLike(SurfacePlane::Original, {SurfacePlane::Working, SurfacePlane::Undo});
    KernelParameterRecord& record = surface.record();
    record.opCode = std::int32_t(state.range(0));
    record.colour = 0x00808080;
    const auto tenths = std::int32_t(state.range(1));
    const KernelArgument cx = singleBits(float(record.width / 2));
    const KernelArgument cy = singleBits(float(record.height / 2));
    for (auto _ : state) {
        magnifyKernel(&record, cx, cy, tenths);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

void magnifyCases(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {"op", "tenths"},
                             {{codeOf(MagnifyMode::Nearest), 20},
                              {codeOf(MagnifyMode::Nearest), 5},
                              {codeOf(MagnifyMode::Bilinear), 20},
                              {codeOf(MagnifyMode::Bilinear), 5}},
                             benchmark::kMillisecond);
}

BENCHMARK(BM_Magnify)->Apply(magnifyCases);

}  // namespace
}  // namespace quillon
