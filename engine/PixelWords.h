#pragma once

// Pixels as 32-bit words. A pixel is four bytes, blue, green, red and reserved, and on the
// little-endian processors we build for they read as one word with blue in the low byte
// and the reserved byte on top. Planes hold their rows bottom-up; columns and rows are
// counted from 1. Planes are only 4-byte aligned in general and a test may hand over any
// buffer, so words are copied in and out rather than read through a cast pointer.

#include <bit>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quillon {

static_assert(std::endian::native == std::endian::little, "pixel words hold blue in the low byte");

inline constexpr std::size_t kPixelBytes = 4;

// Blue, green and red of a pixel word; the reserved byte is the rest.
inline constexpr std::uint32_t kColourBytes = 0x00FFFFFFu;

inline std::uint32_t loadPixel(const std::uint8_t* at) {
    std::uint32_t word;
    std::memcpy(&word, at, kPixelBytes);
    return word;
}

inline void storePixel(std::uint8_t* at, std::uint32_t word) {
    std::memcpy(at, &word, kPixelBytes);
}

// Blue, green and red of `colourBytes` over the reserved byte the target already has.
inline void storeKeepingReserved(std::uint8_t* at, std::uint32_t colourBytes) {
    storePixel(at, (loadPixel(at) & ~kColourBytes) | (colourBytes & kColourBytes));
}

// Byte `channel` of a pixel word: 0 blue, 1 green, 2 red, 3 reserved.
inline constexpr std::uint8_t channelOf(std::uint32_t word, int channel) {
    return std::uint8_t(word >> (8 * channel));
}

// A colour value 0x00BBGGRR (red low, the top byte ignored) as a pixel word with the
// same blue, green and red and a zero reserved byte.
inline constexpr std::uint32_t colourAsPixel(std::uint32_t colour) {
    const std::uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF;
    const std::uint32_t blue = (colour >> 16) & 0xFF;
    return blue | (green << 8) | (red << 16);
}

// Byte offsets within a plane `width` pixels wide. Columns and rows may come in any
// integer type; x - 1 and y - 1 are formed in the caller's own type, so a caller's
// 32-bit unsigned or 64-bit counters keep the arithmetic they were chosen for.

// The first pixel of row y.
template <std::integral Width, std::integral Row>
inline std::size_t rowOffset(Width width, Row y) {
    return kPixelBytes * std::size_t(width) * std::size_t(y - 1);
}

// The pixel in column x, from the first pixel of its row.
template <std::integral Column>
inline std::size_t columnOffset(Column x) {
    return kPixelBytes * std::size_t(x - 1);
}

// The pixel in column x of row y.
template <std::integral Width, std::integral Column, std::integral Row>
inline std::size_t pixelOffset(Width width, Column x, Row y) {
    return rowOffset(width, y) + columnOffset(x);
}

}  // namespace quillon
