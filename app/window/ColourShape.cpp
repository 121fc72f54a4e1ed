#include "app/window/ColourShape.h"

#include <QPainter>

#include "platform/core/Gdi.h"

namespace quillon {

ColourShape::ColourShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourShape::setBackColor(std::uint32_t bgr) {
    backColor_ = bgr & 0x00FFFFFF;
    update();
}

void ColourShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(gdi::argbFromBgr(backColor_)));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace quillon
