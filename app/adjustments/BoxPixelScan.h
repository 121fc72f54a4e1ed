#pragma once

#include <QImage>
#include <cstdint>

#include "platform/core/PictureBoxModel.h"

namespace quillon::adjustments {

// The box's persistent image in the 32-bit layout its device context draws into: a word a
// pixel, 0xAARRGGBB.
QImage& boxPixels(platform::PictureBoxModel& box);

// Hands every row of the box's persistent image to `adjustRow(row, width)`, the top row
// first, the order in which the handlers visit the pixels (each row from the left). The
// handlers as first described also visit one column past the right edge and one row past
// the bottom; those read the invalid colour and write nothing, so each adjustment states
// why its own rule leaves them out safely. Works on the rows of the image directly, with
// the same result as reading and writing each pixel through the box's device context.
template <typename AdjustRow>
void forEachBoxRow(platform::PictureBoxModel& box, AdjustRow&& adjustRow) {
    QImage& image = boxPixels(box);
    for (int y = 0; y < image.height(); ++y)
        adjustRow(reinterpret_cast<std::uint32_t*>(image.scanLine(y)), image.width());
}

}  // namespace quillon::adjustments
