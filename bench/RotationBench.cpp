// Rotation on picture-sized surfaces, per op code, reported in pixels per second. The
// turn is 30 degrees about the middle, so about a quarter of the destination falls
// outside the source and the rest is sampled, as in ordinary use.
//
// Quick smoke run: quillon_bench --benchmark_filter=Rotation --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include "bench/BenchSurfaces.h"
#include "engine/KernelHost.h"
#include "engine/RotationKernel.h"

namespace quillon {
namespace {

constexpr std::int32_t kDegrees = 30 + 360;

// Arguments: op code, width, height. The original and undo planes hold the picture.
void BM_Rotation(benchmark::State& state) {
    bench::BenchSurface surface(state.range(1), state.range(2));
    surface.paintPhotoLike(SurfacePlane::Original, {SurfacePlane::Undo});
    KernelParameterRecord& record = surface.record();
    record.colour = 0x00808080;
    record.opCode = std::int32_t(state.range(0));
    const KernelArgument a = singleBits(float(record.width / 2));
    const KernelArgument b = singleBits(float(record.height / 2));
    for (auto _ : state) {
        rotationKernel(&record, a, b, kDegrees);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

void opCodesAndSizes(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {"op"},
                             {{codeOf(RotationMode::Nearest)},
                              {codeOf(RotationMode::Bilinear)},
                              {codeOf(RotationMode::NearestFromOriginal)},
                              {codeOf(RotationMode::BilinearFromOriginal)}},
                             benchmark::kMillisecond);
}

BENCHMARK(BM_Rotation)->Apply(opCodesAndSizes);

}  // namespace
}  // namespace quillon
