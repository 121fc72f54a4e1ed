#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/KernelRecord.h"

namespace quillon::bench {

// A zero-filled three-plane surface of W x H pixels and the record that points at it,
// starting on a cache line as the engine's own surface does.
class BenchSurface {
public:
    BenchSurface(std::int64_t width, std::int64_t height);
    BenchSurface(const BenchSurface&) = delete;
    BenchSurface& operator=(const BenchSurface&) = delete;

    KernelParameterRecord& record() { return record_; }
    std::uint8_t* plane(SurfacePlane p) { return planeStart(record_, p); }
    std::int64_t pixelCount() const { return std::int64_t(size_ / 12); }
    std::size_t planeBytes() const { return size_ / 3; }

    // Paints plane `painted` like a photo (smooth gradients per channel with a little
    // grain, reserved bytes 0) and copies it into every plane of `copies`.
    void paintPhotoLike(SurfacePlane painted, std::initializer_list<SurfacePlane> copies = {});
    void copyPlane(SurfacePlane from, SurfacePlane to);

private:
    struct AlignedDelete {
        void operator()(std::uint8_t* bytes) const;
    };
    std::size_t size_;
    std::unique_ptr<std::uint8_t[], AlignedDelete> bytes_;
    KernelParameterRecord record_;
};

// Counts `pixels` per iteration done so far, so every benchmark reads in pixels per second.
void reportPixels(benchmark::State& state, std::int64_t pixels);

// Registers each row of leading arguments at 640x480, 1920x1080 and 3840x2160, with
// the argument names `leadingNames` followed by "w" and "h".
void withStandardSizes(benchmark::internal::Benchmark* family,
                       std::vector<std::string> leadingNames,
                       std::initializer_list<std::vector<std::int64_t>> leadingRows,
                       benchmark::TimeUnit unit);

}  // namespace quillon::bench
