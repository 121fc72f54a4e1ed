#include "platform/widgets/PictureBoxWidget.h"

#include <QMouseEvent>
#include <QPainter>

namespace quillon::platform {

PictureBoxWidget::PictureBoxWidget(QWidget* parent)
    : QWidget(parent), model_(new PictureBoxModel(this)) {
    // The whole area is painted from the persistent image every time.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(model_, &PictureBoxModel::repaintRequested, this, qOverload<>(&QWidget::update));
    connect(model_, &PictureBoxModel::sizeChanged, this, &PictureBoxWidget::followModelSize);
    connect(model_, &PictureBoxModel::visibilityChanged, this,
            &PictureBoxWidget::followModelVisibility);
    followModelSize();
}

QSize PictureBoxWidget::sizeHint() const {
    return model_->image().size();
}

void PictureBoxWidget::followModelSize() {
    setFixedSize(model_->image().size());
    update();
}

void PictureBoxWidget::followModelVisibility(bool visible) {
    setVisible(visible);
}

void PictureBoxWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, model_->image());
}

void PictureBoxWidget::mousePressEvent(QMouseEvent* event) {
    pressedButton_ = event->button();
    const QPointF at = event->position();
    emit pressed(event->button(), event->modifiers(), float(at.x()), float(at.y()));
}

// The second press of a double-click is no new press: as on the system the box comes
// from, a double-click is one click and a double-click notice, which nothing handles.
void PictureBoxWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    pressedButton_ = Qt::NoButton;
    event->accept();
}

void PictureBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool completesPress = event->button() == pressedButton_;
    pressedButton_ = Qt::NoButton;
    if (completesPress && rect().contains(event->position().toPoint())) {
        emit clicked(event->button());
    }
}

}  // namespace quillon::platform
