#include "app/EditorPanel.h"

#include "app/ApplicationIcon.h"
#include "app/WindowGeometry.h"

namespace quillon {

EditorPanel::EditorPanel(QWidget* parent) : QGroupBox(tr("Image Editor"), parent) {
    setObjectName(QStringLiteral("FraEditor"));
    placeInTwips(*this, 6300, 60, 7275, 8475);
    createPictureFrame();
}

void EditorPanel::createPictureFrame() {
    Frame1 = new QGroupBox(tr("Frame2"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    placeInTwips(*Frame1, 630, 300, 6015, 4755);

    Picture1 = new platform::PictureBoxWidget(Frame1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setToolTip(tr("Click to Zoom at Pointer"));
    Picture1->move(rectFromTwips(120, 300, 0, 0).topLeft());
    platform::PictureBoxModel& box = Picture1->model();
    box.setBackColor(0x00C0C0C0);
    box.setOuterSizeTwips(5775, 4335);
    box.setPicture(applicationIconImage());
}

}  // namespace quillon
