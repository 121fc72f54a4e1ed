#pragma once

#include <cstdint>
#include <optional>

#include "platform/PictureBoxModel.h"

namespace quillon::adjustments {

// A colour 0x00BBGGRR taken as a signed number and split with truncating division and a
// remainder that keeps the sign, so the invalid colour 0xFFFFFFFF (what a point outside
// the picture reads as) splits into red -1, green 0, blue 0.
struct Channels {
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;
};

Channels splitColour(std::uint32_t colour);

// red + 256 green + 65536 blue; nothing when a channel is negative (such a pixel keeps
// its colour). A channel above 255 counts as 255.
std::optional<std::uint32_t> composeColour(const Channels& channels);

namespace detail {

// The box's persistent image in the 32-bit layout its device context draws into.
QImage& boxPixels(platform::PictureBoxModel& box);

// One row of the scan; `row` is null for the row below the picture.
template <typename Adjust>
void scanRow(std::uint32_t* row, int width, Adjust& adjust) {
    for (int x = 0; x <= width; ++x) {
        const bool inside = row != nullptr && x < width;
        const std::uint32_t colour = inside ? gdi::bgrFromArgb(row[x]) : gdi::CLR_INVALID;
        const std::optional<std::uint32_t> written = composeColour(adjust(splitColour(colour)));
        if (inside && written) row[x] = gdi::argbFromBgr(*written);
    }
}

}  // namespace detail

// Visits the box's pixels top row first, each row from the left, for x = 0..ScaleWidth
// and y = 0..ScaleHeight with both bounds included: the extra column and row lie outside
// the picture and reach `adjust` as the invalid colour, and nothing is written there.
// `adjust` maps the channels read to the channels to write; a pixel whose new channels
// cannot be composed keeps its colour. Works on the rows of the box's persistent image
// directly, with the same result as reading and writing each pixel through the box's
// device context.
template <typename Adjust>
void scanBoxPixels(platform::PictureBoxModel& box, Adjust&& adjust) {
    QImage& image = detail::boxPixels(box);
    const int height = image.height();
    for (int y = 0; y <= height; ++y) {
        const int width = image.width();
        auto* row = y < height ? reinterpret_cast<std::uint32_t*>(image.scanLine(y)) : nullptr;
        detail::scanRow(row, width, adjust);
    }
}

}  // namespace quillon::adjustments
