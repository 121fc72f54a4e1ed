#include "app/BoxPixelScan.h"

#include <algorithm>

namespace quillon::adjustments {

Channels splitColour(std::uint32_t colour) {
    const auto value = std::int32_t(colour);
    return {value % 256, (value / 256) % 256, (value / 65536) % 256};
}

std::optional<std::uint32_t> composeColour(const Channels& channels) {
    if (channels.red < 0 || channels.green < 0 || channels.blue < 0) return std::nullopt;
    const auto byte = [](std::int32_t value) { return std::uint32_t(std::min(value, 255)); };
    return byte(channels.red) + 256 * byte(channels.green) + 65536 * byte(channels.blue);
}

QImage& detail::boxPixels(platform::PictureBoxModel& box) {
    QImage& image = *box.imageHandle();
    if (!image.isNull() && image.format() != QImage::Format_RGB32) {
        image = image.convertToFormat(QImage::Format_RGB32);
    }
    return image;
}

}  // namespace quillon::adjustments
