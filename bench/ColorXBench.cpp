// Colour X effects on picture-sized surfaces, reported in pixels per second.
//   Scan:   op codes 4 to 8 on a picture without colour X, the search alone
//   Sparse: op codes 4 to 8 with one pixel in a thousand of colour X, restored between
//           iterations (outside the timing) because every run blends more of them
//   Paint:  op codes 1 to 3 with spacing 1, which paint every pixel
//   Ring:   op code 9 round the middle, with Amount 1 and with the largest Amount
//
// Quick smoke run: quillon_bench --benchmark_filter=ColorX --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "engine/ColorXKernel.h"
#include "engine/KernelHost.h"

namespace quillon {
namespace {

constexpr std::uint32_t kColourX = 0x00204080;      // 0x00BBGGRR
constexpr std::uint32_t kColourXWord = 0x00804020;  // the same in a pixel: blue low

// A three-plane surface whose working plane holds smooth gradients with a little grain,
// none of it of colour X, and now and then (every `sourceEvery` pixels) colour X.
class ColorXBenchSurface {
public:
    ColorXBenchSurface(std::int64_t width, std::int64_t height, int sourceEvery = 0)
        : bytes_(std::size_t(12 * width * height)) {
        record_.width = std::int32_t(width);
        record_.height = std::int32_t(height);
        record_.surface = bytes_.data();
        record_.colour = kColourX;
        paint(planeStart(record_, 2), sourceEvery);
        std::memcpy(planeStart(record_, 1), planeStart(record_, 2), planeBytes());
    }

    std::size_t pixels() const { return bytes_.size() / 12; }
    std::size_t planeBytes() const { return bytes_.size() / 3; }
    void restore() { std::memcpy(planeStart(record_, 2), planeStart(record_, 1), planeBytes()); }

    void run(std::int32_t opCode, std::int32_t amount, KernelArgument a, KernelArgument b) {
        record_.opCode = opCode;
        record_.amount = amount;
        colorXEffectsKernel(&record_, a, b, 0);
    }

private:
    void paint(std::uint8_t* pixel, int sourceEvery) {
        std::mt19937 random(1);
        const int w = record_.width, h = record_.height;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x, pixel += 4) {
                const int grain = int(random() % 17) - 8;
                pixel[0] = std::uint8_t(std::clamp(x * 255 / w + grain, 0, 255));
                pixel[1] = std::uint8_t(std::clamp(y * 255 / h + grain, 0, 255) | 1);  // odd
                pixel[2] = std::uint8_t(std::clamp((x + y) * 255 / (w + h) + grain, 0, 255));
                if (sourceEvery > 0 && random() % sourceEvery == 0)
                    std::memcpy(pixel, &kColourXWord, 4);
            }
        }
    }

    std::vector<std::uint8_t> bytes_;
    KernelParameterRecord record_;
};

const KernelArgument kPointNine = singleBits(0.9f), kPointOne = singleBits(0.1f);

void reportPixels(benchmark::State& state, const ColorXBenchSurface& surface) {
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(surface.pixels()));
}

// Arguments: op code, width, height.
void BM_ColorXScan(benchmark::State& state) {
    ColorXBenchSurface surface(state.range(1), state.range(2));
    for (auto _ : state) {
        surface.run(std::int32_t(state.range(0)), 8, kPointNine, kPointOne);
        benchmark::ClobberMemory();
    }
    reportPixels(state, surface);
}

void BM_ColorXSparse(benchmark::State& state) {
    ColorXBenchSurface surface(state.range(1), state.range(2), 1000);
    for (auto _ : state) {
        state.PauseTiming();
        surface.restore();
        state.ResumeTiming();
        surface.run(std::int32_t(state.range(0)), 8, kPointNine, kPointOne);
        benchmark::ClobberMemory();
    }
    reportPixels(state, surface);
}

void BM_ColorXPaint(benchmark::State& state) {
    ColorXBenchSurface surface(state.range(1), state.range(2));
    for (auto _ : state) {
        surface.run(std::int32_t(state.range(0)), 1, kSingleTwo, kSingleThree);
        benchmark::ClobberMemory();
    }
    reportPixels(state, surface);
}

// Arguments: Amount, width, height.
void BM_ColorXRing(benchmark::State& state) {
    const auto w = state.range(1), h = state.range(2);
    ColorXBenchSurface surface(w, h);
    const KernelArgument a = singleBits(float(w / 2)), b = singleBits(float(h / 2));
    for (auto _ : state) {
        state.PauseTiming();
        surface.restore();
        state.ResumeTiming();
        surface.run(9, std::int32_t(state.range(0)), a, b);
        benchmark::ClobberMemory();
    }
    reportPixels(state, surface);
}

constexpr std::int64_t kSizes[][2] = {{640, 480}, {1920, 1080}, {3840, 2160}};

void withFirstArgument(benchmark::internal::Benchmark* bench, const char* name,
                       std::initializer_list<int> values) {
    bench->ArgNames({name, "w", "h"})->Unit(benchmark::kMicrosecond);
    for (int value : values) {
        for (const auto& size : kSizes) bench->Args({value, size[0], size[1]});
    }
}

void spreadOps(benchmark::internal::Benchmark* bench) {
    withFirstArgument(bench, "op", {4, 5, 8});
}
void paintOps(benchmark::internal::Benchmark* bench) {
    withFirstArgument(bench, "op", {1, 2, 3});
}
void ringAmounts(benchmark::internal::Benchmark* bench) {
    withFirstArgument(bench, "amount", {1, 32767});
}

BENCHMARK(BM_ColorXScan)->Apply(spreadOps);
BENCHMARK(BM_ColorXSparse)->Apply(spreadOps);
BENCHMARK(BM_ColorXPaint)->Apply(paintOps);
BENCHMARK(BM_ColorXRing)->Apply(ringAmounts);

}  // namespace
}  // namespace quillon
