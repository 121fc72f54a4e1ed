#include "EditorTestSupport.h"

#include <QTest>
#include <cstring>

#include "engine/PixelSurface.h"

namespace quillon::testing {

QImage editorPattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 + x % 150, 40 + y % 150, 40 + (x + 3 * y) % 150));
    }
    return image;
}

ShownEditor::ShownEditor() {
    window_ = new frmMain;
    window_->load();
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_)) qFatal("the main window was never exposed");
    platform::PictureBoxModel& box = window_->picture1().model();
    box.setPicture(editorPattern(box.image().width(), box.image().height()));
    window_->engine()->setPictureBox(box);
}

ShownEditor::~ShownEditor() {
    if (window_) window_->close();
    flushDeletions();
}

void ShownEditor::click(const char* name) const {
    if (QWidget* widget = control<QWidget>(name)) return QTest::mouseClick(widget, Qt::LeftButton);
    clickByCaption(*window_, QString::fromUtf8(name));
}

ReferenceEngine::ReferenceEngine(const QImage& picture) {
    box_.setBackColor(0x00C0C0C0);
    box_.setOuterSizePixels(picture.width(), picture.height());
    box_.setPicture(picture);
    engine_.setPictureBox(box_);
}

std::vector<std::uint32_t> planeWords(const clsASMpic& engine, SurfacePlane plane) {
    const PixelSurface& surface = engine.surface();
    std::vector<std::uint32_t> words(surface.planeBytes() / 4);
    std::memcpy(words.data(), surface.plane(plane), words.size() * 4);
    return words;
}

QRgb planePixel(const clsASMpic& engine, SurfacePlane plane, int x, int y) {
    const PixelSurface& surface = engine.surface();
    const int row = surface.height() - 1 - y;
    const std::uint8_t* pixel = surface.plane(plane) + 4 * (std::size_t(row) * surface.width() + x);
    return qRgb(pixel[2], pixel[1], pixel[0]) & 0x00FFFFFF;
}

}  // namespace quillon::testing
