// Pixel effects on picture-sized surfaces, counted in pixels of the working plane per
// second. The kernel reads the undo plane and writes the working plane, so every
// iteration does the same work on the same picture.
//
// Quick smoke run: quillon_bench --benchmark_filter=PixelEffects --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "engine/PixelEffectsKernel.h"

namespace quillon {
namespace {

// A three-plane surface with a photo-like undo plane: gradients per channel with a
// little grain, so the clamps of the filters are met now and then, not always.
class PixelBenchSurface {
public:
    PixelBenchSurface(std::int64_t width, std::int64_t height)
        : bytes_(std::size_t(12 * width * height)) {
        record_.width = std::int32_t(width);
        record_.height = std::int32_t(height);
        record_.surface = bytes_.data();
        paintPhotoLike(planeStart(record_, 3));
        std::memcpy(planeStart(record_, 2), planeStart(record_, 3), pixelCount() * 4);
    }

    std::size_t pixelCount() const { return bytes_.size() / 12; }
    pixeleffects::Planes planes() {
        return {planeStart(record_, 3), planeStart(record_, 2), record_.width, record_.height};
    }

    void runKernel(std::int32_t opCode, std::int32_t amount, KernelPointerArgument c) {
        record_.opCode = opCode;
        record_.amount = amount;
        record_.colour = 0x00204060;
        pixelEffectsKernel(&record_, 0x40000000, 0x40400000, c);
    }

private:
    void paintPhotoLike(std::uint8_t* pixel) {
        std::mt19937 random(1);
        const int w = record_.width, h = record_.height;
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

void reportPixels(benchmark::State& state, const PixelBenchSurface& surface) {
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(surface.pixelCount()));
}

// Arguments: op code, amount, width, height. The wave table is the host's, built once.
void BM_PixelEffectsKernel(benchmark::State& state) {
    const auto op = std::int32_t(state.range(0)), amount = std::int32_t(state.range(1));
    PixelBenchSurface surface(state.range(2), state.range(3));
    const std::vector<float> table =
        waveTable(std::int32_t(state.range(2)), std::int32_t(state.range(3)), amount);
    const auto c =
        op == 3 ? reinterpret_cast<KernelPointerArgument>(table.data()) : KernelPointerArgument{4};
    for (auto _ : state) {
        surface.runKernel(op, amount, c);
        benchmark::ClobberMemory();
    }
    reportPixels(state, surface);
}

// The smoothing word loop without SSE2. Arguments: amount, width, height.
void BM_PixelEffectsSmoothPlain(benchmark::State& state) {
    PixelBenchSurface surface(state.range(1), state.range(2));
    for (auto _ : state) {
        pixeleffects::smoothPlain(surface.planes(), std::int32_t(state.range(0)));
        benchmark::ClobberMemory();
    }
    reportPixels(state, surface);
}

// What the host adds for the wave: the table. Arguments: width, height.
void BM_PixelEffectsWaveTable(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            waveTable(std::int32_t(state.range(0)), std::int32_t(state.range(1)), 10));
    }
}

constexpr std::int64_t kSizes[][2] = {{640, 480}, {1920, 1080}, {3840, 2160}};

void withOpsAndAmounts(benchmark::internal::Benchmark* bench,
                       std::initializer_list<std::pair<int, int>> opsAndAmounts) {
    bench->ArgNames({"op", "amount", "w", "h"})->Unit(benchmark::kMillisecond);
    for (const auto& [op, amount] : opsAndAmounts) {
        for (const auto& size : kSizes) bench->Args({op, amount, size[0], size[1]});
    }
}

void everyVariant(benchmark::internal::Benchmark* bench) {
    withOpsAndAmounts(bench,
                      {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {1, 1}, {2, 1}, {3, 10}, {4, 1}, {5, 8}});
}

void smoothingAmounts(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"amount", "w", "h"})->Unit(benchmark::kMillisecond);
    for (int amount : {1, 2, 4, 8}) {
        for (const auto& size : kSizes) bench->Args({amount, size[0], size[1]});
    }
}

void sizesOnly(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"w", "h"})->Unit(benchmark::kMicrosecond);
    for (const auto& size : kSizes) bench->Args({size[0], size[1]});
}

BENCHMARK(BM_PixelEffectsKernel)->Apply(everyVariant);
BENCHMARK(BM_PixelEffectsSmoothPlain)->Apply(smoothingAmounts);
BENCHMARK(BM_PixelEffectsWaveTable)->Apply(sizesOnly);

}  // namespace
}  // namespace quillon
