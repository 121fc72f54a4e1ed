// Palette effects on picture-sized surfaces. Every benchmark reports the bytes of one
// plane per iteration, so the packed kernel, the plain byte loop and a block copy of a
// plane (the speed of memory itself) read as comparable throughputs.
//
// Quick smoke run: quillon_bench --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "engine/PalEffectsKernel.h"
#include "engine/PalEffectsPasses.h"

namespace quillon {
namespace {

constexpr std::int32_t kStepAmount = 8;

// A three-plane surface whose planes hold the same photo-like picture: smooth
// gradients in each channel with a little grain on top.
class BenchSurface {
public:
    BenchSurface(std::int64_t width, std::int64_t height)
        : bytes_(std::size_t(12 * width * height)) {
        record_.width = std::int32_t(width);
        record_.height = std::int32_t(height);
        record_.surface = bytes_.data();
        paintPhotoLike(plane(1));
        std::memcpy(plane(2), plane(1), planeBytes());
        std::memcpy(plane(3), plane(1), planeBytes());
    }

    std::uint8_t* plane(int p) { return planeStart(record_, p); }
    std::size_t pixelCount() const { return bytes_.size() / 12; }
    std::size_t planeBytes() const { return bytes_.size() / 3; }

    void runKernel(std::int32_t opCode, std::int32_t amount) {
        record_.opCode = opCode;
        record_.amount = amount;
        palEffectsKernel(&record_, 0x40000000, 0x40400000, 4);
    }

private:
    void paintPhotoLike(std::uint8_t* pixels) {
        std::mt19937 random(1);
        const int w = record_.width, h = record_.height;
        std::uint8_t* pixel = pixels;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x, pixel += 4) {
                const int grain = int(random() % 17) - 8;
                pixel[0] = std::uint8_t(std::clamp(x * 255 / w + grain, 0, 255));
                pixel[1] = std::uint8_t(std::clamp(y * 255 / h + grain, 0, 255));
                pixel[2] = std::uint8_t(std::clamp((x + y) * 255 / (w + h) + grain, 0, 255));
                pixel[3] = 0;
            }
        }
    }

    std::vector<std::uint8_t> bytes_;
    KernelParameterRecord record_;
};

void reportPlanes(benchmark::State& state, const BenchSurface& surface) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(surface.planeBytes()));
}

// Arguments: op code, width, height. Packed ops, grey and noise cost the same whatever
// the picture holds, so each iteration works on the picture the previous one left.
void BM_Kernel(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    for (auto _ : state) {
        surface.runKernel(std::int32_t(state.range(0)), kStepAmount);
        benchmark::ClobberMemory();
    }
    reportPlanes(state, surface);
}

void BM_PackedPlainLoop(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    const auto step = *paleffects::packedStepFor(std::int32_t(state.range(0)), kStepAmount);
    for (auto _ : state) {
        paleffects::applyPackedScalar(surface.plane(2), surface.pixelCount(), step);
        benchmark::ClobberMemory();
    }
    reportPlanes(state, surface);
}

// A substitution leaves a picture the next one would find trivial, so each iteration
// starts again from the original plane, restored outside the timing.
void BM_SubstitutionKernel(benchmark::State& state) {
    BenchSurface surface(state.range(1), state.range(2));
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(surface.plane(2), surface.plane(1), surface.planeBytes());
        state.ResumeTiming();
        surface.runKernel(std::int32_t(state.range(0)), kStepAmount);
        benchmark::ClobberMemory();
    }
    reportPlanes(state, surface);
}

// The undo snapshot: one plane copied to another, as fast as memory allows.
void BM_PlaneCopy(benchmark::State& state) {
    BenchSurface surface(state.range(0), state.range(1));
    for (auto _ : state) {
        std::memcpy(surface.plane(3), surface.plane(2), surface.planeBytes());
        benchmark::ClobberMemory();
    }
    reportPlanes(state, surface);
}

constexpr std::int64_t kSizes[][2] = {{640, 480}, {1920, 1080}, {3840, 2160}};

void withOpCodes(benchmark::internal::Benchmark* bench, std::initializer_list<int> opCodes) {
    bench->ArgNames({"op", "w", "h"})->Unit(benchmark::kMicrosecond);
    for (int op : opCodes) {
        for (const auto& size : kSizes) bench->Args({op, size[0], size[1]});
    }
}

void packedOps(benchmark::internal::Benchmark* bench) {
    withOpCodes(bench, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11});
}
void perPixelOps(benchmark::internal::Benchmark* bench) {
    withOpCodes(bench, {10, 12});
}
void substitutionOps(benchmark::internal::Benchmark* bench) {
    withOpCodes(bench, {13, 14, 15, 16, 17, 18, 19});
}
void sizesOnly(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"w", "h"})->Unit(benchmark::kMicrosecond);
    for (const auto& size : kSizes) bench->Args({size[0], size[1]});
}

BENCHMARK(BM_PlaneCopy)->Apply(sizesOnly);
BENCHMARK(BM_Kernel)->Apply(packedOps);
BENCHMARK(BM_PackedPlainLoop)->Apply(packedOps);
BENCHMARK(BM_Kernel)->Apply(perPixelOps);
BENCHMARK(BM_SubstitutionKernel)->Apply(substitutionOps);

}  // namespace
}  // namespace quillon

BENCHMARK_MAIN();
