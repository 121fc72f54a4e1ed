// Colour X effects on picture-sized surfaces, reported in pixels per second.
//   Scan:   op codes 4 to 8 on a picture without colour X, the search alone
//   Sparse: op codes 4 to 8 with one pixel in a hundred of colour X, restored between
//           iterations (outside the timing) because every run blends more of them
//   Paint:  op codes 1 to 3 with spacing 1, which paint every pixel
//   Ring:   op code 9 round the middle, with Amount 1 and with the largest Amount
//   Dot:    op code 0, one dot (the cost of a call)
//
// Quick smoke run: quillon_bench --benchmark_filter=ColorX --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "bench/BenchSurfaces.h"
#include "engine/ColorXKernel.h"
#include "engine/KernelHost.h"

namespace quillon {
namespace {

using bench::BenchSurface;

constexpr std::uint32_t kColourX = 0x00204080;      // 0x00BBGGRR
constexpr std::uint32_t kColourXWord = 0x00804020;  // the same in a pixel: blue low

// A photo-like working plane with odd green bytes, so no pixel is of colour X except
// one in `sourceEvery` on average (none for 0); the original plane keeps a copy.
void paintWithColourX(BenchSurface& surface, int sourceEvery = 0) {
    surface.paintPhotoLike(SurfacePlane::Working);
    std::mt19937 random(1);
    std::uint8_t* pixel = surface.plane(SurfacePlane::Working);
    for (std::int64_t i = 0; i < surface.pixelCount(); ++i, pixel += 4) {
        pixel[1] |= 1;
        if (sourceEvery > 0 && random() % sourceEvery == 0) std::memcpy(pixel, &kColourXWord, 4);
    }
    surface.copyPlane(SurfacePlane::Working, SurfacePlane::Original);
    surface.record().colour = kColourX;
}

void run(BenchSurface& surface, std::int32_t opCode, std::int32_t amount, KernelArgument a,
         KernelArgument b) {
    surface.record().opCode = opCode;
    surface.record().amount = amount;
    colorXEffectsKernel(&surface.record(), a, b, 0);
}

const KernelArgument kPointNine = singleBits(0.9f), kPointOne = singleBits(0.1f);

// Arguments: op code, width, height.
void BM_ColorXScan(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    paintWithColourX(surface);
    for (auto _ : state) {
        run(surface, std::int32_t(state.range(0)), 8, kPointNine, kPointOne);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

void BM_ColorXSparse(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    paintWithColourX(surface, 100);
    for (auto _ : state) {
        state.PauseTiming();
        surface.copyPlane(SurfacePlane::Original, SurfacePlane::Working);
        state.ResumeTiming();
        run(surface, std::int32_t(state.range(0)), 8, kPointNine, kPointOne);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

void BM_ColorXPaint(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    paintWithColourX(surface);
    for (auto _ : state) {
        run(surface, std::int32_t(state.range(0)), 1, kSingleTwo, kSingleThree);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

// Arguments: width, height.
void BM_ColorXDot(benchmark::State& state) {
    BenchSurface surface(state.range(0), state.range(1));
    paintWithColourX(surface);
    for (auto _ : state) {
        run(surface, codeOf(ColorXEffect::RandomDots), 8, kPointNine, kPointOne);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

// Arguments: Amount, width, height.
void BM_ColorXRing(benchmark::State& state) {
    const auto w = state.range(1), h = state.range(2);
    BenchSurface surface(w, h);
    paintWithColourX(surface);
    const KernelArgument a = singleBits(float(w / 2)), b = singleBits(float(h / 2));
    for (auto _ : state) {
        state.PauseTiming();
        surface.copyPlane(SurfacePlane::Original, SurfacePlane::Working);
        state.ResumeTiming();
        run(surface, codeOf(ColorXEffect::Ring), std::int32_t(state.range(0)), a, b);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, surface.pixelCount());
}

void spreadOps(benchmark::internal::Benchmark* family) {
    using enum ColorXEffect;
    bench::withStandardSizes(family, {"op"},
                             {{codeOf(Glow)}, {codeOf(StreakUp)}, {codeOf(StreakRight)}},
                             benchmark::kMicrosecond);
}
void everySpreadOp(benchmark::internal::Benchmark* family) {
    using enum ColorXEffect;
    bench::withStandardSizes(family, {"op"},
                             {{codeOf(Glow)},
                              {codeOf(StreakUp)},
                              {codeOf(StreakDown)},
                              {codeOf(StreakLeft)},
                              {codeOf(StreakRight)}},
                             benchmark::kMicrosecond);
}
void paintOps(benchmark::internal::Benchmark* family) {
    using enum ColorXEffect;
    bench::withStandardSizes(
        family, {"op"}, {{codeOf(HorizontalLines)}, {codeOf(VerticalLines)}, {codeOf(DotLattice)}},
        benchmark::kMicrosecond);
}
void ringAmounts(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {"amount"}, {{1}, {32767}}, benchmark::kMicrosecond);
}

BENCHMARK(BM_ColorXScan)->Apply(spreadOps);
BENCHMARK(BM_ColorXSparse)->Apply(everySpreadOp);
BENCHMARK(BM_ColorXPaint)->Apply(paintOps);
BENCHMARK(BM_ColorXRing)->Apply(ringAmounts);
BENCHMARK(BM_ColorXDot)->Apply([](benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {}, {{}}, benchmark::kMicrosecond);
});

}  // namespace
}  // namespace quillon
