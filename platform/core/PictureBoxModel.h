#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <cstdint>

#include "platform/core/Gdi.h"

namespace quillon::platform {

// Everything the engine needs of a picture box, without a widget: its outer size in
// twips, the twips per pixel of its screen, a background colour, an assignable picture
// drawn at the top-left, and a persistent image (32-bit, the box's size, no border) that
// drawing calls paint into through the box's device context. The window's widget shows
// the persistent image; the command-line tool uses the model alone.
class PictureBoxModel : public QObject {
    Q_OBJECT
public:
    static constexpr std::uint32_t kDefaultBackColor = 0x00C0C0C0;

    explicit PictureBoxModel(QObject* parent = nullptr);

    void setOuterSizeTwips(int widthTwips, int heightTwips);
    void setOuterSizePixels(int width, int height);
    int outerWidthTwips() const { return widthTwips_; }
    int outerHeightTwips() const { return heightTwips_; }
    double twipsPerPixelX() const { return twipsPerPixelX_; }
    double twipsPerPixelY() const { return twipsPerPixelY_; }
    void setTwipsPerPixel(double x, double y);

    std::uint32_t backColor() const { return backColor_; }  // 0x00BBGGRR
    void setBackColor(std::uint32_t bgr);

    // Assigning a picture repaints the persistent image: background, then the picture
    // at the top-left, unscaled. An empty image clears the picture.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // Forgets the picture without repainting, for a caller about to paint every pixel.
    void forgetPicture() { picture_ = QImage(); }

    const QImage& image() const { return image_; }
    gdi::HBITMAP imageHandle() { return &image_; }
    gdi::HDC hDC() { return &dc_; }

    bool isVisible() const { return visible_; }
    void setVisible(bool visible);

    // Asks whoever shows the box to paint it again.
    void refresh();

signals:
    void repaintRequested();
    void sizeChanged();
    void visibilityChanged(bool visible);

private:
    void rebuildImage();

    int widthTwips_ = 0;
    int heightTwips_ = 0;
    double twipsPerPixelX_;
    double twipsPerPixelY_;
    std::uint32_t backColor_ = kDefaultBackColor;
    QImage picture_;
    QImage image_;
    gdi::DeviceContext dc_;
    bool visible_ = true;
};

// Pixels covered by a length in twips: the quotient in single precision, rounded to the
// nearest integer with ties to even.
int pixelsFromTwips(int twips, double twipsPerPixel);

}  // namespace quillon::platform
