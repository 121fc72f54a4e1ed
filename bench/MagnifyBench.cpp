// The magnify kernel on picture-sized surfaces, both passes, zooming in (every pixel
// comes from the source) and out (three quarters of the plane become background).
// Items are destination pixels.
//
// Quick smoke run: quillon_bench --benchmark_filter=Magnify --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/KernelHost.h"
#include "engine/MagnifyKernel.h"

namespace quillon {
namespace {

// A three-plane surface holding smooth gradients with a little grain, like a photo.
class MagnifySurface {
public:
    MagnifySurface(std::int64_t width, std::int64_t height)
        : bytes_(std::size_t(12 * width * height)) {
        record_.width = std::int32_t(width);
        record_.height = std::int32_t(height);
        record_.surface = bytes_.data();
        std::mt19937 random(1);
        for (std::int64_t i = 0; i < 3 * width * height; ++i) {
            const std::int64_t x = i % width, y = i / width % height;
            const int grain = int(random() % 17) - 8;
            bytes_[4 * i] = std::uint8_t(std::clamp(int(x * 255 / width) + grain, 0, 255));
            bytes_[4 * i + 1] = std::uint8_t(std::clamp(int(y * 255 / height) + grain, 0, 255));
            bytes_[4 * i + 2] = std::uint8_t(std::clamp(int((x + y) % 256) + grain, 0, 255));
        }
    }

    std::int64_t pixels() const { return std::int64_t(bytes_.size() / 12); }

    void magnify(std::int32_t opCode, std::int32_t tenths) {
        record_.opCode = opCode;
        record_.colour = 0x00808080;
        const float cx = float(record_.width / 2), cy = float(record_.height / 2);
        magnifyKernel(&record_, singleBits(cx), singleBits(cy), tenths);
    }

private:
    std::vector<std::uint8_t> bytes_;
    KernelParameterRecord record_;
};

// Arguments: op code, factor in tenths, width, height.
void BM_Magnify(benchmark::State& state) {
    MagnifySurface surface(state.range(2), state.range(3));
    for (auto _ : state) {
        surface.magnify(std::int32_t(state.range(0)), std::int32_t(state.range(1)));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * surface.pixels());
}

void magnifyCases(benchmark::internal::Benchmark* bench) {
    constexpr std::int64_t kSizes[][2] = {{640, 480}, {1920, 1080}, {3840, 2160}};
    bench->ArgNames({"op", "tenths", "w", "h"})->Unit(benchmark::kMillisecond);
    for (int op : {0, 1}) {
        for (int tenths : {20, 5}) {
            for (const auto& size : kSizes) bench->Args({op, tenths, size[0], size[1]});
        }
    }
}

BENCHMARK(BM_Magnify)->Apply(magnifyCases);

}  // namespace
}  // namespace quillon
