// Colour stretch and white crush, the adjustments made directly on the picture box, on a
// box exactly the size of a photo-like picture, in pixels per second. Both change the
// picture they work on, so every iteration starts again from the picture, restored
// outside the timing.
//
// Quick smoke run: quillon_bench --benchmark_filter=Stretch --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include <QImage>
#include <cstring>

#include "app/adjustments/ColourStretch.h"
#include "app/adjustments/WhiteCrush.h"
#include "bench/BenchSurfaces.h"
#include "platform/core/PictureBoxModel.h"

namespace quillon {
namespace {

using Adjustment = void (*)(platform::PictureBoxModel&);

// The photo-like fill as a picture: its bytes are blue, green, red, and an opaque top byte.
QImage photoLikePicture(std::int64_t width, std::int64_t height) {
    bench::BenchSurface surface(width, height);
    surface.paintPhotoLike(SurfacePlane::Original);
    QImage picture(int(width), int(height), QImage::Format_RGB32);
    std::uint8_t* pixel = surface.plane(SurfacePlane::Original);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x, pixel += 4)
            row[x] = 0xFF000000u | pixel[2] << 16 | pixel[1] << 8 | pixel[0];
    }
    return picture;
}

// Arguments: width, height.
void runAdjustment(benchmark::State& state, Adjustment adjustment) {
    const QImage picture = photoLikePicture(state.range(0), state.range(1));
    platform::PictureBoxModel box;
    box.setTwipsPerPixel(15.0, 15.0);
    box.setOuterSizePixels(picture.width(), picture.height());
    box.setPicture(picture);
    QImage& shown = *box.imageHandle();
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(shown.bits(), picture.constBits(), std::size_t(picture.sizeInBytes()));
        state.ResumeTiming();
        adjustment(box);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, std::int64_t(picture.width()) * picture.height());
}

void BM_ColourStretch(benchmark::State& state) {
    runAdjustment(state, ColourStretch);
}

void BM_WhiteCrush(benchmark::State& state) {
    runAdjustment(state, WhiteCrush);
}

void sizesOnly(benchmark::internal::Benchmark* family) {
    bench::withStandardSizes(family, {}, {{}}, benchmark::kMillisecond);
}

BENCHMARK(BM_ColourStretch)->Apply(sizesOnly);
BENCHMARK(BM_WhiteCrush)->Apply(sizesOnly);

}  // namespace
}  // namespace quillon
