#pragma once

#include <QGroupBox>

#include "platform/PictureBoxWidget.h"

namespace quillon {

// The right half of the main window, the frame "Image Editor". It shows the edited
// picture in Picture1; the editing controls take their places below it.
class EditorPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit EditorPanel(QWidget* parent = nullptr);

    platform::PictureBoxWidget& picture1() { return *Picture1; }

private:
    void createPictureFrame();

    QGroupBox* Frame1 = nullptr;
    platform::PictureBoxWidget* Picture1 = nullptr;
};

}  // namespace quillon
