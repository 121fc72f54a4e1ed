#include "app/window/WindowSurface.h"

#include <QPixmap>
#include <QWidget>

namespace quillon {

WindowSurface::WindowSurface(QWidget& window)
    : image_(window.grab().toImage().convertToFormat(QImage::Format_RGB32)), dc_(&image_) {}

}  // namespace quillon
