#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "app/controls/BevelButton.h"
#include "app/controls/WindowGeometry.h"
#include "app/window/EditorControls.h"
#include "app/window/EditorPanel.h"

namespace quillon {

// The magnification factor and the two zoom modes; the zoom itself is a click on the
// picture.
void EditorPanel::createMagnifyFrame() {
    Frame11 = makeFrame(*this, QStringLiteral("Frame11"), tr("Magnify Effects"));
    placeInTwips(*Frame11, 120, 6735, 3435, 960);

    txt_magfactor = new QLineEdit(QStringLiteral("1.5"), Frame11);
    txt_magfactor->setObjectName(QStringLiteral("txt_magfactor"));
    placeInTwips(*txt_magfactor, 120, 420, 660, 315);

    cmd_magFX[0] = makeButton(*Frame11, QStringLiteral("cmd_magFX_0"), tr("Zoom Pixelated"),
                              tr("Unfocussed Zoom Function"));
    placeInTwips(*cmd_magFX[0], 900, 240, 2415, 300);
    cmd_magFX[1] = makeButton(*Frame11, QStringLiteral("cmd_magFX_1"), tr("Zoom Focussed"),
                              tr("Focussed Zoom Function"));
    placeInTwips(*cmd_magFX[1], 900, 585, 2415, 300);
}

void EditorPanel::createFilterFrame() {
    Frame4 = makeFrame(*this, QStringLiteral("Frame4"), tr("Filter"));
    placeInTwips(*Frame4, 3615, 6735, 3540, 960);

    cmd_pixFX_0 = makeButton(*Frame4, QStringLiteral("cmd_pixFX_0"), tr("Smooth"),
                             tr("Applies a Smooth Filter"));
    placeInTwips(*cmd_pixFX_0, 120, 240, 1575, 300);
    BevelButton9 = makeButton(*Frame4, QStringLiteral("BevelButton9"), tr("Sharpen"),
                              tr("Sharpening the Image"));
    placeInTwips(*BevelButton9, 120, 585, 1575, 300);
    BevelButton10 = makeButton(*Frame4, QStringLiteral("BevelButton10"), tr("Colour Stretch"),
                               tr("Stretches the colours"));
    placeInTwips(*BevelButton10, 1815, 240, 1605, 300);
    BevelButton11 = makeButton(*Frame4, QStringLiteral("BevelButton11"), tr("White Crush"),
                               tr("Takes away Glare"));
    placeInTwips(*BevelButton11, 1815, 585, 1605, 300);
}

// The bar's position is a brightness: 256 in the middle leaves the picture as it was,
// 1 darkens most, 511 brightens most.
void EditorPanel::createBrightnessBar() {
    Label7 = makeLabel(*this, QStringLiteral("Label7"), tr("Brightness:"));
    placeInTwips(*Label7, 120, 7830, 1035, 255);

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setRange(1, 511);
    HScroll1->setValue(256);
    HScroll1->setSingleStep(10);
    HScroll1->setPageStep(100);
    // Qt's scroll bars turn the arrow keys round; this one brightens to the right.
    HScroll1->setInvertedControls(false);
    placeInTwips(*HScroll1, 1215, 7800, 5940, 300);
}

}  // namespace quillon
