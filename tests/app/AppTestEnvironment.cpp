#include "AppTestEnvironment.h"

#include <QAbstractButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <cstring>

#include "engine/PixelSurface.h"
#include "platform/core/Display.h"
#include "platform/core/TempFrameFile.h"

namespace quillon::testing {

AppTestEnvironment::AppTestEnvironment() {
    platform::Display::overrideBitsPerPixel(32);
    platform::Display::overrideTwipsPerPixel(15);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, directory_.path());
    platform::overrideGrabbedFrameDirectory(directory_.path());
}

AppTestEnvironment::~AppTestEnvironment() {
    platform::overrideGrabbedFrameDirectory(QString());
    platform::Display::overrideBitsPerPixel(0);
    platform::Display::overrideTwipsPerPixel(0);
}

bool isCentredOnScreen(const QWidget& window) {
    const QPoint offset =
        window.frameGeometry().center() - window.screen()->availableGeometry().center();
    return qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1;
}

void clickByCaption(QWidget& window, const QString& caption) {
    QAbstractButton* found = nullptr;
    for (auto* button : window.findChildren<QAbstractButton*>()) {
        if (button->text() != caption) continue;
        if (found != nullptr) qFatal("two buttons captioned %s", qPrintable(caption));
        found = button;
    }
    if (found == nullptr || !found->isVisible() || !found->isEnabled())
        qFatal("no button to press captioned %s", qPrintable(caption));
    const QPoint middle = found->rect().center();
    if (window.childAt(found->mapTo(&window, middle)) != found)
        qFatal("the button captioned %s is covered", qPrintable(caption));
    QTest::mouseClick(found, Qt::LeftButton, {}, middle);
}

void flushDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QImage editorPattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 + x % 150, 40 + y % 150, 40 + (x + 3 * y) % 150));
    }
    return image;
}

ShownEditor::ShownEditor(bool patterned) : window_(new frmMain) {
    window_->load();
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_)) qFatal("the main window was never exposed");
    if (!patterned) return;
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

std::vector<std::uint32_t> planeWords(const clsASMpic& engine) {
    const PixelSurface& surface = engine.surface();
    std::vector<std::uint32_t> words(surface.planeBytes() / 4);
    std::memcpy(words.data(), surface.plane(SurfacePlane::Working), words.size() * 4);
    for (std::uint32_t& word : words) word &= 0x00FFFFFF;
    return words;
}

}  // namespace quillon::testing
