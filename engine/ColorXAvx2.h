#pragma once

// The AVX2 passes of the colour X kernel (ColorXAvx2.cpp), for processors that have AVX2.

#include <cstdint>

namespace quillon::colorx::avx2 {

// The first column from x on, searching eight at a time while eight remain up to `last`,
// whose pixel's low three bytes are `pixelBits`; or the first column not searched.
std::int64_t findColourX(const std::uint8_t* row, std::int64_t x, std::int64_t last,
                         std::uint32_t pixelBits);

// Blue, green and red of `count` pixels set to `pixelBits`, reserved bytes kept, eight at a
// time; returns how many pixels were done.
std::int64_t paintRun(std::uint8_t* pixels, std::int64_t count, std::uint32_t pixelBits);

}  // namespace quillon::colorx::avx2
