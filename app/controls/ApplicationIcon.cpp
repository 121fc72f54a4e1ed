#include "app/controls/ApplicationIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace quillon {
namespace {

// The design grid. data/quillon.svg draws the same shapes on it for the icon theme.
constexpr int kSide = 32;
constexpr int kIconSides[] = {16, 24, 32, 48, 64, 128, 256};

void drawCanvas(QPainter& painter) {
    painter.fillRect(0, 0, kSide, kSide, QColor(0x20, 0x38, 0x58));
    painter.fillRect(3, 3, kSide - 6, kSide - 6, QColor(0xF4, 0xEC, 0xD2));
}

void drawLandscape(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF0, 0xA0, 0x20));
    painter.drawEllipse(QPoint(21, 10), 4, 4);
    painter.setBrush(QColor(0x3C, 0x8C, 0x3C));
    painter.drawPolygon(QPolygon({QPoint(3, 28), QPoint(3, 21), QPoint(11, 14), QPoint(18, 20),
                                  QPoint(22, 17), QPoint(28, 22), QPoint(28, 28)}));
}

void drawPlayMark(QPainter& painter) {
    painter.setBrush(QColor(0xC0, 0x28, 0x28));
    painter.drawPolygon(QPolygon({QPoint(6, 6), QPoint(12, 9), QPoint(6, 12)}));
}

}  // namespace

QImage applicationIconImage() {
    return applicationIconImage(kSide);
}

// At 32 the shapes are drawn unsmoothed on whole pixels, exactly as the editor's first
// picture has always been.
QImage applicationIconImage(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    QPainter painter(&image);
    if (side != kSide) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(double(side) / kSide, double(side) / kSide);
    }
    drawCanvas(painter);
    drawLandscape(painter);
    drawPlayMark(painter);
    return image;
}

QIcon applicationIcon() {
    QIcon drawn;
    for (const int side : kIconSides)
        drawn.addPixmap(QPixmap::fromImage(applicationIconImage(side)));
    return QIcon::fromTheme(QStringLiteral("quillon"), drawn);
}

}  // namespace quillon
