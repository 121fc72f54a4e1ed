#pragma once

// How the vector loops split a run of 4-byte pixels: the pixels before the first full-vector
// boundary go to the plain loop, so that every vector load and store after them is aligned
// and none straddles two cache lines.

#include <cstddef>
#include <cstdint>

namespace quillon::simd {

// How many of `count` pixels from `pixels` come before the first `vectorBytes` boundary. A
// run that is not even 4-byte aligned never reaches one and is left whole to the vectors.
inline std::size_t pixelsBeforeBoundary(const std::uint8_t* pixels, std::size_t count,
                                        std::size_t vectorBytes) {
    const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(pixels) % vectorBytes;
    if (misalignment % 4 != 0) return 0;
    const std::size_t head = (vectorBytes - misalignment) % vectorBytes / 4;
    return head < count ? head : count;
}

}  // namespace quillon::simd
