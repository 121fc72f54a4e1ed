#include "app/controls/WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/core/Display.h"
#include "platform/core/PictureBoxModel.h"

namespace quillon {
namespace {

int pixelsX(int twips) {
    return platform::pixelsFromTwips(twips, platform::Display::twipsPerPixelX());
}
int pixelsY(int twips) {
    return platform::pixelsFromTwips(twips, platform::Display::twipsPerPixelY());
}

}  // namespace

QSize sizeFromTwips(int width, int height) {
    return {pixelsX(width), pixelsY(height)};
}

QRect rectFromTwips(int left, int top, int width, int height) {
    return {QPoint(pixelsX(left), pixelsY(top)), sizeFromTwips(width, height)};
}

void placeInTwips(QWidget& widget, int left, int top, int width, int height) {
    widget.setGeometry(rectFromTwips(left, top, width, height));
}

void makeFixedDialogWindow(QWidget& window, int clientWidthTwips, int clientHeightTwips) {
    const Qt::WindowFlags base = window.windowFlags() & Qt::WindowType_Mask;
    window.setWindowFlags(base | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    window.setFixedSize(sizeFromTwips(clientWidthTwips, clientHeightTwips));
}

void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    // Before the first showing the frame is not known yet; the client area stands for it.
    const QSize frameExtra = window.frameGeometry().size() - window.size();
    const QSize outer = window.size() + frameExtra.expandedTo(QSize(0, 0));
    const QRect available = screen->availableGeometry();
    const QPoint topLeft(available.x() + (available.width() - outer.width()) / 2,
                         available.y() + (available.height() - outer.height()) / 2);
    window.move(topLeft);
}

}  // namespace quillon
