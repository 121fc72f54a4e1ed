// OpenCV's nearest calls to our kernels, as yardsticks: the same sizes and photo-like
// pictures, one thread, pixels per second. Built only when OpenCV is found. OpenCV works
// out of place where that is its natural form (filters, warps, remaps) and in place where
// our kernel is (the scalar steps, the negative).
//
// Quick smoke run: quillon_bench --benchmark_filter=Cv --benchmark_min_time=0.01

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "bench/BenchSurfaces.h"
#include "engine/PixelEffectsKernel.h"

namespace quillon {
namespace {

using bench::BenchSurface;

// A picture in plane 3 (read) and plane 2 (written), both as 8-bit four-channel images.
struct CvPicture {
    BenchSurface surface;
    cv::Mat source, target;

    CvPicture(std::int64_t width, std::int64_t height) : surface(width, height) {
        cv::setNumThreads(0);
        surface.paintPhotoLike(SurfacePlane::Undo, {SurfacePlane::Working});
        source = cv::Mat(int(height), int(width), CV_8UC4, surface.plane(SurfacePlane::Undo));
        target = cv::Mat(int(height), int(width), CV_8UC4, surface.plane(SurfacePlane::Working));
    }
};

const cv::Scalar kBackground(0x80, 0x80, 0x80, 0);
constexpr double kStep = 8;  // the amount the palette benchmarks step by

// Arguments: width, height, for every benchmark below.
template <typename Call>
void measure(benchmark::State& state, Call call) {
    CvPicture picture(state.range(0), state.range(1));
    for (auto _ : state) {
        call(picture);
        benchmark::ClobberMemory();
    }
    bench::reportPixels(state, picture.surface.pixelCount());
}

// Channel steps add to red alone, brightness steps to blue, green and red (op codes 0, 6).
void BM_CvAddChannel(benchmark::State& state) {
    measure(state, [](CvPicture& p) { cv::add(p.target, cv::Scalar(0, 0, kStep, 0), p.target); });
}
void BM_CvAddBrightness(benchmark::State& state) {
    measure(state,
            [](CvPicture& p) { cv::add(p.target, cv::Scalar(kStep, kStep, kStep, 0), p.target); });
}
void BM_CvSubtractChannel(benchmark::State& state) {
    measure(state,
            [](CvPicture& p) { cv::subtract(p.target, cv::Scalar(0, 0, kStep, 0), p.target); });
}
void BM_CvSubtractBrightness(benchmark::State& state) {
    measure(state, [](CvPicture& p) {
        cv::subtract(p.target, cv::Scalar(kStep, kStep, kStep, 0), p.target);
    });
}
void BM_CvBitwiseNot(benchmark::State& state) {
    measure(state, [](CvPicture& p) { cv::bitwise_not(p.target, p.target); });
}

// Grey: to one channel and back to four.
void BM_CvGreyRoundTrip(benchmark::State& state) {
    cv::Mat grey;
    measure(state, [&grey](CvPicture& p) {
        cv::cvtColor(p.target, grey, cv::COLOR_BGRA2GRAY);
        cv::cvtColor(grey, p.target, cv::COLOR_GRAY2BGRA);
    });
}

void filterWith(benchmark::State& state, const cv::Matx33f& weights) {
    measure(state, [&weights](CvPicture& p) {
        cv::filter2D(p.source, p.target, -1, cv::Mat(weights), cv::Point(-1, -1), 0,
                     cv::BORDER_REPLICATE);
    });
}

// The same weights as the smoothing of each amount: the neighbours it adds, each / amount.
void BM_CvFilter2DSmooth(benchmark::State& state) {
    switch (state.range(2)) {
        case 1:
            return filterWith(state, {0, 0, 0, .5f, 0, .5f, 0, 0, 0});
        case 2:
            return filterWith(state, {0, .5f, 0, 0, 0, 0, 0, .5f, 0});
        case 4:
            return filterWith(state, {.25f, 0, .25f, 0, 0, 0, .25f, 0, .25f});
        default:
            return filterWith(state, {.125f, .125f, .125f, .125f, 0, .125f, .125f, .125f, .125f});
    }
}
void BM_CvBlur(benchmark::State& state) {
    measure(state, [](CvPicture& p) { cv::blur(p.source, p.target, cv::Size(3, 3)); });
}
void BM_CvFilter2DEdge(benchmark::State& state) {
    filterWith(state, {-1, -1, -1, -1, 8, -1, -1, -1, -1});
}
void BM_CvFilter2DRelief(benchmark::State& state) {
    filterWith(state, {0, 0, 0, 0, 1, 0, 0, 0, -1});
}
void BM_CvFilter2DEmboss(benchmark::State& state) {
    filterWith(state, {-1, 0.5f, 0, -0.5f, 0.5f, 0.5f, 0, -0.5f, 1});
}
// The sharpen filter's weights with its usual damping 2: centre 26, neighbours -2, / 10.
void BM_CvFilter2DSharpen(benchmark::State& state) {
    filterWith(state, {-.2f, -.2f, -.2f, -.2f, 2.6f, -.2f, -.2f, -.2f, -.2f});
}

// Destination to source, as our kernels map: about the middle, scaled by 10 / tenths or
// turned by 30 degrees.
cv::Mat scaleAboutMiddle(const cv::Mat& picture, double tenths) {
    const double s = 10.0 / tenths, cx = picture.cols / 2, cy = picture.rows / 2;
    return (cv::Mat_<double>(2, 3) << s, 0, cx - s * cx, 0, s, cy - s * cy);
}
cv::Mat turnAboutMiddle(const cv::Mat& picture) {
    return cv::getRotationMatrix2D(cv::Point2f(picture.cols / 2, picture.rows / 2), 30, 1.0);
}

int interpolation(std::int64_t op) {
    return op == 0 ? cv::INTER_NEAREST : cv::INTER_LINEAR;
}

// Extra arguments: interpolation (0 nearest, 1 linear), factor in tenths.
void BM_CvWarpAffineMagnify(benchmark::State& state) {
    const int flags = interpolation(state.range(2)) | cv::WARP_INVERSE_MAP;
    const double tenths = double(state.range(3));
    measure(state, [&](CvPicture& p) {
        cv::warpAffine(p.source, p.target, scaleAboutMiddle(p.source, tenths), p.source.size(),
                       flags, cv::BORDER_CONSTANT, kBackground);
    });
}

// Extra argument: interpolation (0 nearest, 1 linear).
void BM_CvWarpAffineRotate(benchmark::State& state) {
    const int flags = interpolation(state.range(2)) | cv::WARP_INVERSE_MAP;
    measure(state, [&](CvPicture& p) {
        cv::warpAffine(p.source, p.target, turnAboutMiddle(p.source), p.source.size(), flags,
                       cv::BORDER_CONSTANT, kBackground);
    });
}

// Maps filled once, outside the timing, from the wave table or the twist's turn.
struct Maps {
    cv::Mat x, y;
    Maps(int width, int height) : x(height, width, CV_32F), y(height, width, CV_32F) {}
};

Maps waveMaps(int width, int height) {
    Maps maps(width, height);
    const std::vector<float> table = waveTable(width, height, 10);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            maps.x.at<float>(row, column) = float(column);
            maps.y.at<float>(row, column) = table[std::size_t(row)] - 1;
        }
    }
    return maps;
}

Maps twistMaps(int width, int height) {
    Maps maps(width, height);
    const double cx = width / 2, cy = height / 2, m = std::max(width, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const double dx = column - cx, dy = row - cy;
            const double theta = std::sqrt(dx * dx + dy * dy) / m * 2 * std::numbers::pi;
            maps.x.at<float>(row, column) = float(dx * std::cos(theta) - dy * std::sin(theta) + cx);
            maps.y.at<float>(row, column) = float(dx * std::sin(theta) + dy * std::cos(theta) + cy);
        }
    }
    return maps;
}

void remapWith(benchmark::State& state, Maps (*makeMaps)(int, int)) {
    const Maps maps = makeMaps(int(state.range(0)), int(state.range(1)));
    measure(state, [&maps](CvPicture& p) {
        cv::remap(p.source, p.target, maps.x, maps.y, cv::INTER_NEAREST, cv::BORDER_CONSTANT,
                  kBackground);
    });
}
void BM_CvRemapWave(benchmark::State& state) {
    remapWith(state, waveMaps);
}
void BM_CvRemapTwist(benchmark::State& state) {
    remapWith(state, twistMaps);
}

// The picture size comes first here, then the extra arguments.
void sizes(benchmark::internal::Benchmark* family, std::vector<std::string> names = {},
           std::initializer_list<std::vector<std::int64_t>> extras = {{}}) {
    constexpr std::int64_t kSizes[][2] = {{640, 480}, {1920, 1080}, {3840, 2160}};
    names.insert(names.begin(), {"w", "h"});
    family->ArgNames(names)->Unit(benchmark::kMicrosecond);
    for (const auto& extra : extras) {
        for (const auto& size : kSizes) {
            std::vector<std::int64_t> arguments{size[0], size[1]};
            arguments.insert(arguments.end(), extra.begin(), extra.end());
            family->Args(arguments);
        }
    }
}
void sizesOnly(benchmark::internal::Benchmark* family) {
    sizes(family);
}

BENCHMARK(BM_CvAddChannel)->Apply(sizesOnly);
BENCHMARK(BM_CvAddBrightness)->Apply(sizesOnly);
BENCHMARK(BM_CvSubtractChannel)->Apply(sizesOnly);
BENCHMARK(BM_CvSubtractBrightness)->Apply(sizesOnly);
BENCHMARK(BM_CvBitwiseNot)->Apply(sizesOnly);
BENCHMARK(BM_CvGreyRoundTrip)->Apply(sizesOnly);
BENCHMARK(BM_CvFilter2DSmooth)->Apply([](benchmark::internal::Benchmark* family) {
    sizes(family, {"amount"}, {{1}, {2}, {4}, {8}});
});
BENCHMARK(BM_CvBlur)->Apply(sizesOnly);
BENCHMARK(BM_CvFilter2DEdge)->Apply(sizesOnly);
BENCHMARK(BM_CvFilter2DRelief)->Apply(sizesOnly);
BENCHMARK(BM_CvFilter2DEmboss)->Apply(sizesOnly);
BENCHMARK(BM_CvFilter2DSharpen)->Apply(sizesOnly);
BENCHMARK(BM_CvWarpAffineMagnify)->Apply([](benchmark::internal::Benchmark* family) {
    sizes(family, {"interp", "tenths"}, {{0, 20}, {0, 5}, {1, 20}, {1, 5}});
});
BENCHMARK(BM_CvWarpAffineRotate)->Apply([](benchmark::internal::Benchmark* family) {
    sizes(family, {"interp"}, {{0}, {1}});
});
BENCHMARK(BM_CvRemapWave)->Apply(sizesOnly);
BENCHMARK(BM_CvRemapTwist)->Apply(sizesOnly);

}  // namespace
}  // namespace quillon
