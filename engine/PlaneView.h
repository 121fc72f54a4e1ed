#pragma once

// The planes one kernel pass works on: the plane it reads (the undo or the original plane)
// and the plane it writes (the working plane) of one surface, both `width` x `height`
// pixels. A pass that works in place reads and writes `target` and leaves `source` empty.

#include <cstddef>
#include <cstdint>

#include "engine/PixelWords.h"

namespace quillon {

struct PlaneView {
    const std::uint8_t* source = nullptr;
    std::uint8_t* target = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;

    // Byte offset of the first pixel of row y (1 = bottom row). Places are taken as 64-bit
    // numbers so that loops may run one past the largest 32-bit column or row without
    // overflowing.
    std::size_t rowOffset(std::int64_t y) const { return quillon::rowOffset(width, y); }
    const std::uint8_t* sourceRow(std::int64_t y) const { return source + rowOffset(y); }
    std::uint8_t* targetRow(std::int64_t y) const { return target + rowOffset(y); }
    std::uint8_t* targetAt(std::int64_t x, std::int64_t y) const {
        return target + pixelOffset(width, x, y);
    }
    std::ptrdiff_t rowBytes() const { return std::ptrdiff_t{4} * width; }
};

}  // namespace quillon
