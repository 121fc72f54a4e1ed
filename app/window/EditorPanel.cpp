#include "app/window/EditorPanel.h"

#include <QLabel>

#include "app/controls/ApplicationIcon.h"
#include "app/controls/BevelButton.h"
#include "app/controls/ButtonImages.h"
#include "app/controls/WindowGeometry.h"

namespace quillon {

EditorPanel::EditorPanel(QWidget& window, const ImageList* images, EngineAccess engineAccess)
    : QGroupBox(tr("Image Editor"), &window), window_(window), engine(std::move(engineAccess)) {
    setObjectName(QStringLiteral("FraEditor"));
    placeInTwips(*this, 6300, 60, 7275, 8475);
    createPictureFrame();
    createFileControls();
    createEffectsFrame();
    createMagnifyFrame();
    createFilterFrame();
    createBrightnessBar();
    createAmountFrame(window);
    createColorXFrame(window);
    useImages(images);
    createActions();
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

    // Only the sharpen button draws into it, and nothing ever shows or reads it.
    Picture2 = new platform::PictureBoxWidget(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->move(rectFromTwips(630, 300, 0, 0).topLeft());
    Picture2->model().setBackColor(0x00C0C0C0);
    Picture2->model().setOuterSizeTwips(5745, 4335);
    Picture2->model().setVisible(false);
}

// "Open" and "Save" show images 1 and 9, "Zoom Focussed" shows image 10, the mark of
// the zoom mode in use; the other buttons show none.
void EditorPanel::useImages(const ImageList* images) {
    for (BevelButton* button : findChildren<BevelButton*>()) button->setImageList(images);
    cmd_progFlow_0->setImage(kImageOpen);
    cmd_progFlow_1->setImage(kImageSave);
    cmd_magFX[1]->setImage(kImageSelected);
}

void EditorPanel::createActions() {
    createEffectActions();
    createPictureActions();
    createFilterActions();
    createFileActions();
}

void EditorPanel::showFileName(const QString& name) {
    Label6->setText(name);
}

}  // namespace quillon
