#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/SurfacePlane.h"

namespace quillon {

// Three planes of W x H pixels in one allocation: original, working and undo.
// A pixel is four bytes (blue, green, red, reserved); rows run bottom-up with no gap, so
// the first 4·W bytes of a plane are the bottom scan line of the picture.
class PixelSurface {
public:
    // Replaces the surface with one of the given size, zero-filled. Throws std::bad_alloc
    // when the memory cannot be had; the old surface is gone either way.
    void allocate(std::int32_t width, std::int32_t height);
    void discard();

    bool empty() const { return bytes_ == nullptr; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::size_t planeBytes() const { return planeBytes_; }

    std::uint8_t* base() { return bytes_.get(); }
    const std::uint8_t* base() const { return bytes_.get(); }
    std::uint8_t* plane(SurfacePlane p) { return base() + planeBytes_ * planesBefore(p); }
    const std::uint8_t* plane(SurfacePlane p) const {
        return base() + planeBytes_ * planesBefore(p);
    }

    // One block copy of a whole plane.
    void copyPlane(SurfacePlane from, SurfacePlane to);

private:
    struct AlignedFree {
        void operator()(std::uint8_t* p) const;
    };
    std::unique_ptr<std::uint8_t[], AlignedFree> bytes_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::size_t planeBytes_ = 0;
};

}  // namespace quillon
