#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace quillon {

// The windows are laid out as designed, in twips; these turn twips into pixels with the
// screen's twips per pixel, rounding the way the picture box does.
QSize sizeFromTwips(int width, int height);
QRect rectFromTwips(int left, int top, int width, int height);
void placeInTwips(QWidget& widget, int left, int top, int width, int height);

// A window the user cannot resize, minimise or maximise: fixed client size, a title bar
// with only the close button.
void makeFixedDialogWindow(QWidget& window, int clientWidthTwips, int clientHeightTwips);

// Moves a top-level window so that its outer frame sits in the middle of its screen.
void centreOnScreen(QWidget& window);

}  // namespace quillon
