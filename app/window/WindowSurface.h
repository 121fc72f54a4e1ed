#pragma once

#include <QImage>

#include "platform/core/Gdi.h"

class QWidget;

namespace quillon {

// A window's own drawing surface, for raster copies to and from it. It is made from what
// the window shows when the surface is created, the size of the window's inner area in
// pixels. Drawing on it does not last: the window's controls paint themselves, so what
// is copied onto the surface is gone at the window's next repaint and never covers them.
class WindowSurface {
public:
    explicit WindowSurface(QWidget& window);
    WindowSurface(const WindowSurface&) = delete;
    WindowSurface& operator=(const WindowSurface&) = delete;

    gdi::HDC hDC() { return &dc_; }
    int scaleWidth() const { return image_.width(); }
    int scaleHeight() const { return image_.height(); }

private:
    QImage image_;
    gdi::DeviceContext dc_;
};

}  // namespace quillon
