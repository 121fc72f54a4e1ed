#pragma once

// The passes behind the colour X effects kernel and the pixel helpers they share. All
// of them work in place on the working plane: 4-byte pixels (blue, green, red,
// reserved), rows bottom-up, column x and row y counted from 1. The reserved byte is
// never written.

#include <cstddef>
#include <cstdint>

#include "engine/ColorXOps.h"
#include "engine/PixelWords.h"
#include "engine/PlaneView.h"
#include "engine/Rounding.h"

namespace quillon::colorx {

// Colour X, given as 0x00BBGGRR, in the byte order of a pixel.
struct ColourX {
    std::uint8_t channel[3] = {};  // blue, green, red
    // A pixel word whose low three bytes equal this has colour X.
    std::uint32_t pixelBits = 0;
    // A colour with any of bits 24 to 31 set is matched by no pixel: the comparison is
    // with the whole 32-bit value.
    bool matchable = false;
};

inline ColourX colourXFrom(std::uint32_t bgr) {
    ColourX colour;
    colour.pixelBits = colourAsPixel(bgr);
    for (int c = 0; c < 3; ++c) colour.channel[c] = channelOf(colour.pixelBits, c);
    colour.matchable = (bgr >> 24) == 0;
    return colour;
}

// The pixel bits have no reserved byte to mask off, which keeps the painting loops short.
inline void paint(std::uint8_t* pixel, const ColourX& colour) {
    storePixel(pixel, (loadPixel(pixel) & ~kColourBytes) | colour.pixelBits);
}

// The first column from `x` to `last` of the row whose pixel has colour X (`pixelBits`), or
// last + 1; each pixel costs one compare of its low three bytes.
std::int64_t nextColourX(const std::uint8_t* row, std::int64_t x, std::int64_t last,
                         std::uint32_t pixelBits);

// Blue, green and red of `count` pixels set to `pixelBits`, as paint() does, reserved bytes
// kept.
void paintRun(std::uint8_t* pixels, std::int64_t count, std::uint32_t pixelBits);

// A blend weight w prepared for one colour: the pixel keeps w of its own colour and
// takes 1 - w of colour X. Both shares are exact doubles, so preparing them once gives
// the same sums as forming them at every pixel.
struct BlendWeight {
    double own = 0.0;
    double fromX[3] = {};  // (1 - w) · X for blue, green, red
};

inline BlendWeight blendWeight(float w, const ColourX& colour) {
    const double own = w;
    const double rest = 1.0 - own;
    return {own, {rest * colour.channel[0], rest * colour.channel[1], rest * colour.channel[2]}};
}

// Weights below 0 or above 1 can push a channel out of the byte range; it is held at
// the nearer end, so a strong negative weight gives 0 rather than a wrapped value.
inline std::uint8_t blendedChannel(std::uint8_t value, double own, double fromX) {
    const std::int32_t v = roundToInt32(own * value + fromX);
    return std::uint8_t(v > 255 ? 255 : v < 0 ? 0 : v);
}

inline void blend(std::uint8_t* pixel, const BlendWeight& weight) {
    for (int c = 0; c < 3; ++c) pixel[c] = blendedChannel(pixel[c], weight.own, weight.fromX[c]);
}

// A blend weight as a table of what every value of each channel becomes, made with
// blendedChannel itself: looking a byte up gives exactly what blending it gives, for three
// loads instead of three double-precision multiply-adds and roundings.
struct BlendTable {
    std::uint8_t channel[3][256];
};

inline BlendTable blendTable(const BlendWeight& weight) {
    BlendTable table;
    for (int c = 0; c < 3; ++c) {
        for (int value = 0; value < 256; ++value)
            table.channel[c][value] =
                blendedChannel(std::uint8_t(value), weight.own, weight.fromX[c]);
    }
    return table;
}

inline void blend(std::uint8_t* pixel, const BlendTable& table) {
    for (int c = 0; c < 3; ++c) pixel[c] = table.channel[c][pixel[c]];
}

// Op code 0.
void paintRandomDot(const PlaneView& plane, const ColourX& colour, float a, float b);
// Op codes 1 to 3; `spacing` is at least 1.
void paintHorizontalLines(const PlaneView& plane, const ColourX& colour, std::int32_t spacing);
void paintVerticalLines(const PlaneView& plane, const ColourX& colour, std::int32_t spacing);
void paintDotLattice(const PlaneView& plane, const ColourX& colour, std::int32_t spacing);

// Op code 4 and op codes 5 to 8 (`streak` picks the direction); `radius` is at least 1.
void glowAroundColourX(const PlaneView& plane, const ColourX& colour, std::int32_t radius, float a,
                       float b);
void streakFromColourX(const PlaneView& plane, const ColourX& colour, ColorXEffect streak,
                       std::int32_t radius, float a, float b);

// Every other op code; `amount` is at least 1.
void brightenRing(const PlaneView& plane, const ColourX& colour, std::int32_t amount, float centreX,
                  float centreYFromTop);

}  // namespace quillon::colorx
