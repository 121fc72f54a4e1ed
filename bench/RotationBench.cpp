// Rotation on picture-sized surfaces, per op code, reported in pixels per second. The
// turn is 30 degrees about the middle, so about a quarter of the destination falls
// outside the source and the rest is sampled, as in ordinary use.
//
// Quick smoke run: quillon_bench --benchmark_filter=Rotation --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "engine/KernelHost.h"
#include "engine/RotationKernel.h"

namespace quillon {
namespace {

constexpr std::int32_t kDegrees = 30 + 360;

// Smooth gradients per channel with a little grain, in the original and undo planes.
std::vector<std::uint8_t> photoLikeSurface(int width, int height) {
    std::vector<std::uint8_t> bytes(std::size_t(12) * width * height);
    std::mt19937 random(1);
    std::uint8_t* pixel = bytes.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, pixel += 4) {
            const int grain = int(random() % 17) - 8;
            pixel[0] = std::uint8_t(std::clamp(x * 255 / width + grain, 0, 255));
            pixel[1] = std::uint8_t(std::clamp(y * 255 / height + grain, 0, 255));
            pixel[2] = std::uint8_t(std::clamp((x + y) * 255 / (width + height) + grain, 0, 255));
        }
    }
    const std::size_t plane = bytes.size() / 3;
    std::memcpy(bytes.data() + 2 * plane, bytes.data(), plane);
    return bytes;
}

// Arguments: op code, width, height.
void BM_RotationKernel(benchmark::State& state) {
    const int width = int(state.range(1)), height = int(state.range(2));
    std::vector<std::uint8_t> bytes = photoLikeSurface(width, height);
    const KernelParameterRecord record{.width = width,
                                       .height = height,
                                       .surface = bytes.data(),
                                       .colour = 0x00808080,
                                       .opCode = std::int32_t(state.range(0))};
    const KernelArgument a = singleBits(float(width / 2)), b = singleBits(float(height / 2));
    for (auto _ : state) {
        rotationKernel(&record, a, b, kDegrees);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * width * height);
}

void opCodesAndSizes(benchmark::internal::Benchmark* bench) {
    constexpr std::int64_t kSizes[][2] = {{640, 480}, {1920, 1080}, {3840, 2160}};
    bench->ArgNames({"op", "w", "h"})->Unit(benchmark::kMillisecond);
    for (int op = 0; op <= 3; ++op) {
        for (const auto& size : kSizes) bench->Args({op, size[0], size[1]});
    }
}

BENCHMARK(BM_RotationKernel)->Apply(opCodesAndSizes);

}  // namespace
}  // namespace quillon
