#include "app/adjustments/BoxPixelScan.h"

namespace quillon::adjustments {

QImage& boxPixels(platform::PictureBoxModel& box) {
    QImage& image = *box.imageHandle();
    if (!image.isNull() && image.format() != QImage::Format_RGB32) {
        image = image.convertToFormat(QImage::Format_RGB32);
    }
    return image;
}

}  // namespace quillon::adjustments
