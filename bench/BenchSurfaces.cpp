#include "bench/BenchSurfaces.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <random>

namespace quillon::bench {

namespace {
constexpr std::align_val_t kCacheLine{64};
}

void BenchSurface::AlignedDelete::operator()(std::uint8_t* bytes) const {
    ::operator delete[](bytes, kCacheLine);
}

BenchSurface::BenchSurface(std::int64_t width, std::int64_t height)
    : size_(std::size_t(12 * width * height)),
      bytes_(static_cast<std::uint8_t*>(::operator new[](size_, kCacheLine))) {
    std::memset(bytes_.get(), 0, size_);
    record_.width = std::int32_t(width);
    record_.height = std::int32_t(height);
    record_.surface = bytes_.get();
}

void BenchSurface::paintPhotoLike(SurfacePlane painted,
                                  std::initializer_list<SurfacePlane> copies) {
    std::mt19937 random(1);
    const int w = record_.width, h = record_.height;
    std::uint8_t* pixel = plane(painted);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x, pixel += 4) {
            const int grain = int(random() % 17) - 8;
            pixel[0] = std::uint8_t(std::clamp(x * 255 / w + grain, 0, 255));
            pixel[1] = std::uint8_t(std::clamp(y * 255 / h + grain, 0, 255));
            pixel[2] = std::uint8_t(std::clamp((x + y) * 255 / (w + h) + grain, 0, 255));
            pixel[3] = 0;
        }
    }
    for (const SurfacePlane copy : copies) copyPlane(painted, copy);
}

void BenchSurface::copyPlane(SurfacePlane from, SurfacePlane to) {
    std::memcpy(plane(to), plane(from), planeBytes());
}

void reportPixels(benchmark::State& state, std::int64_t pixels) {
    state.SetItemsProcessed(std::int64_t(state.iterations()) * pixels);
}

void withStandardSizes(benchmark::internal::Benchmark* family,
                       std::vector<std::string> leadingNames,
                       std::initializer_list<std::vector<std::int64_t>> leadingRows,
                       benchmark::TimeUnit unit) {
    constexpr std::int64_t kSizes[][2] = {{640, 480}, {1920, 1080}, {3840, 2160}};
    leadingNames.insert(leadingNames.end(), {"w", "h"});
    family->ArgNames(leadingNames)->Unit(unit);
    for (const auto& leading : leadingRows) {
        for (const auto& size : kSizes) {
            std::vector<std::int64_t> arguments = leading;
            arguments.insert(arguments.end(), {size[0], size[1]});
            family->Args(arguments);
        }
    }
}

}  // namespace quillon::bench
