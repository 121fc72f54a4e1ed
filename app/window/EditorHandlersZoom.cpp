#include <QLineEdit>
#include <QLocale>
#include <cmath>
#include <limits>

#include "app/controls/BevelButton.h"
#include "app/controls/ButtonImages.h"
#include "app/window/ColourShape.h"
#include "app/window/EditorPanel.h"
#include "app/window/HandlerErrors.h"
#include "app/window/NumericText.h"
#include "app/window/SingleText.h"
#include "engine/clsASMpic.h"
#include "platform/core/Gdi.h"

namespace quillon {
namespace {

// The pixel that contains a point of the box, or -1 for a point left of or above it (or
// not a number at all); GetPixel answers for any of them, inside or not.
int pixelContaining(float coordinate) {
    if (!(coordinate >= 0.0f && coordinate < float(std::numeric_limits<int>::max()))) return -1;
    return int(std::floor(coordinate));
}

}  // namespace

void EditorPanel::createPictureActions() {
    connect(Picture1, &platform::PictureBoxWidget::pressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, float x, float y) {
                picturePressed(button, x, y);
            });
    // Every completed click zooms, whichever button made it: the right button's press has
    // just picked colour X, and the zoom that follows fills with it.
    connectHandler(Picture1, &platform::PictureBoxWidget::clicked, this,
                   &EditorPanel::pictureClicked);
    connect(cmd_magFX[0], &QPushButton::clicked, this, [this] { chooseZoomMode(true); });
    connect(cmd_magFX[1], &QPushButton::clicked, this, [this] { chooseZoomMode(false); });
}

// The left button aims the next zoom; the right button takes colour X from the picture
// as the box shows it.
void EditorPanel::picturePressed(Qt::MouseButton button, float x, float y) {
    if (button == Qt::LeftButton) {
        txt_centerX->setText(textFromSingle(x));
        txt_centerY->setText(textFromSingle(y));
    } else if (button == Qt::RightButton) {
        const std::uint32_t colour =
            gdi::GetPixel(Picture1->model().hDC(), pixelContaining(x), pixelContaining(y));
        // A point outside the picture has no colour; colour X then stays as it was.
        if (colour != gdi::CLR_INVALID) shp_colorX->setBackColor(colour);
    }
}

// Zooms about the centre last aimed at. The texts are read as typed: before the first
// aim they hold the boxes' names, which read as 0.
void EditorPanel::pictureClicked() {
    const bool AntiAlias = !zoomPixelated();
    const float Factor = singleFromDouble(numericValueOfText(txt_magfactor->text()));
    const double centerX = numericValueOfText(txt_centerX->text());
    const double centerY = numericValueOfText(txt_centerY->text());
    engine().ASM_Magnify(Factor, centerX, centerY, AntiAlias, colourX());
    brightnessStep = false;
}

// The mode in use is the button that shows image 10; the other shows none.
void EditorPanel::chooseZoomMode(bool pixelated) {
    const QString mark = QString::number(kImageSelected);
    cmd_magFX[0]->setImageKey(pixelated ? mark : QString());
    cmd_magFX[1]->setImageKey(pixelated ? QString() : mark);
}

bool EditorPanel::zoomPixelated() const {
    bool isNumber = false;
    const double key = QLocale::c().toDouble(cmd_magFX[0]->imageKey().trimmed(), &isNumber);
    return isNumber && key == double(kImageSelected);
}

}  // namespace quillon
