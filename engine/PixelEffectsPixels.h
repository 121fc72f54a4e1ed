#pragma once

// Pixels of the pixel effects passes as 32-bit words: byte 0 blue, 1 green, 2 red,
// 3 reserved, as they lie in memory on the little-endian processors we build for.

#include <bit>
#include <cstdint>
#include <cstring>

namespace quillon::pixeleffects {

static_assert(std::endian::native == std::endian::little,
              "pixel words assume blue in the low byte");

// Blue, green and red of a pixel word; the reserved byte is the rest.
inline constexpr std::uint32_t kColourBytes = 0x00FFFFFFu;

// Planes are only 4-byte aligned in general, and a test may hand over any buffer, so
// words are copied in and out rather than read through a cast pointer.
inline std::uint32_t loadPixel(const std::uint8_t* at) {
    std::uint32_t word;
    std::memcpy(&word, at, 4);
    return word;
}

inline void storePixel(std::uint8_t* at, std::uint32_t word) {
    std::memcpy(at, &word, 4);
}

// Blue, green and red of `colourBytes` over the reserved byte the target already has.
inline void storeKeepingReserved(std::uint8_t* at, std::uint32_t colourBytes) {
    storePixel(at, (loadPixel(at) & ~kColourBytes) | (colourBytes & kColourBytes));
}

// A colour value 0x00BBGGRR (red low, the top byte ignored) as a pixel word with the
// same blue, green and red and a zero reserved byte.
inline std::uint32_t colourAsPixel(std::uint32_t colour) {
    const std::uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF;
    const std::uint32_t blue = (colour >> 16) & 0xFF;
    return blue | (green << 8) | (red << 16);
}

}  // namespace quillon::pixeleffects
