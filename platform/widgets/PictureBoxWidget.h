#pragma once

#include <QWidget>

#include "platform/core/PictureBoxModel.h"

namespace quillon::platform {

// Shows a picture box on screen. The widget has no border and always takes the model's
// pixel size, so the persistent image the engine draws into is exactly what is painted.
// Mouse presses and clicks are passed on as signals in the box's pixel coordinates.
class PictureBoxWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureBoxWidget(QWidget* parent = nullptr);

    PictureBoxModel& model() { return *model_; }
    const PictureBoxModel& model() const { return *model_; }

    QSize sizeHint() const override;

signals:
    // A button went down over the box; x and y are in the box's pixels.
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, float x, float y);
    // A button went down and came up again over the box.
    void clicked(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void followModelSize();
    void followModelVisibility(bool visible);

    PictureBoxModel* model_;
    Qt::MouseButton pressedButton_ = Qt::NoButton;
};

}  // namespace quillon::platform
