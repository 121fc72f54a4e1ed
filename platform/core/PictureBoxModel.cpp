#include "platform/core/PictureBoxModel.h"

#include <QPainter>
#include <cmath>

#include "platform/core/Display.h"

namespace quillon::platform {

int pixelsFromTwips(int twips, double twipsPerPixel) {
    const float quotient = float(twips) / float(twipsPerPixel);
    return int(std::nearbyint(quotient));
}

PictureBoxModel::PictureBoxModel(QObject* parent)
    : QObject(parent),
      twipsPerPixelX_(Display::twipsPerPixelX()),
      twipsPerPixelY_(Display::twipsPerPixelY()),
      dc_(&image_) {
    rebuildImage();
}

void PictureBoxModel::setOuterSizeTwips(int widthTwips, int heightTwips) {
    widthTwips_ = std::max(0, widthTwips);
    heightTwips_ = std::max(0, heightTwips);
    rebuildImage();
    emit sizeChanged();
}

void PictureBoxModel::setOuterSizePixels(int width, int height) {
    setOuterSizeTwips(int(std::lround(width * twipsPerPixelX_)),
                      int(std::lround(height * twipsPerPixelY_)));
}

void PictureBoxModel::setTwipsPerPixel(double x, double y) {
    twipsPerPixelX_ = x;
    twipsPerPixelY_ = y;
    rebuildImage();
    emit sizeChanged();
}

void PictureBoxModel::setBackColor(std::uint32_t bgr) {
    backColor_ = bgr & 0x00FFFFFF;
    rebuildImage();
}

void PictureBoxModel::setPicture(const QImage& picture) {
    picture_ = picture;
    rebuildImage();
}

void PictureBoxModel::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    emit visibilityChanged(visible);
}

void PictureBoxModel::refresh() {
    emit repaintRequested();
}

void PictureBoxModel::rebuildImage() {
    const int width = pixelsFromTwips(widthTwips_, twipsPerPixelX_);
    const int height = pixelsFromTwips(heightTwips_, twipsPerPixelY_);
    if (image_.width() != width || image_.height() != height) {
        image_ = QImage(width, height, QImage::Format_RGB32);
    }
    if (image_.isNull()) return;
    image_.fill(gdi::argbFromBgr(backColor_));
    if (!picture_.isNull()) {
        QPainter painter(&image_);
        painter.drawImage(0, 0, picture_);
    }
}

}  // namespace quillon::platform
