#include "engine/PixelSurface.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace quillon {
namespace {

// The surface starts on a cache line. The later planes start 4·W·H bytes further on, which
// is only 4-byte aligned for an odd pixel count, so vector code loads them unaligned.
constexpr std::align_val_t kAlignment{64};

}  // namespace

void PixelSurface::AlignedFree::operator()(std::uint8_t* p) const {
    ::operator delete[](p, kAlignment);
}

void PixelSurface::allocate(std::int32_t width, std::int32_t height) {
    discard();
    if (width < 0 || height < 0) throw std::bad_alloc();
    const std::size_t plane = std::size_t{4} * std::size_t(width) * std::size_t(height);
    // Kernels and callers measure a plane in 32-bit signed bytes.
    if (plane > std::size_t{INT32_MAX}) throw std::bad_alloc();
    const std::size_t total = plane * kAllPlanes.size();
    auto* bytes = static_cast<std::uint8_t*>(::operator new[](total == 0 ? 1 : total, kAlignment));
    std::memset(bytes, 0, total);
    bytes_.reset(bytes);
    width_ = width;
    height_ = height;
    planeBytes_ = plane;
}

void PixelSurface::discard() {
    bytes_.reset();
    width_ = height_ = 0;
    planeBytes_ = 0;
}

void PixelSurface::copyPlane(SurfacePlane from, SurfacePlane to) {
    if (empty() || from == to) return;
    std::memcpy(plane(to), plane(from), planeBytes_);
}

}  // namespace quillon
