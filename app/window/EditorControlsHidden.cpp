#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/controls/WindowGeometry.h"
#include "app/window/ColourShape.h"
#include "app/window/EditorControls.h"
#include "app/window/EditorPanel.h"
#include "platform/core/Gdi.h"

namespace quillon {
namespace {

// Left edge of the two frames in the window: beyond the client area, 13680 twips wide,
// so they exist and hold values without ever being seen.
constexpr int kUnseenLeft = 14400;

// The swatches beside the colour X shape, 0x00BBGGRR.
constexpr std::uint32_t kSwatchColours[8] = {0x00000000, 0x00FFFFFF, 0x000000FF, 0x0000FF00,
                                             0x00FF0000, 0x0000FFFF, 0x00FFFF00, 0x00FF00FF};

QLabel* makeSwatch(QWidget& parent, int index) {
    QLabel* swatch = makeLabel(parent, arrayElementName("lbl_colX", index), QString());
    swatch->setAutoFillBackground(true);
    QPalette colours = swatch->palette();
    colours.setColor(QPalette::Window, QColor::fromRgb(gdi::argbFromBgr(kSwatchColours[index])));
    swatch->setPalette(colours);
    swatch->setFrameShape(QFrame::Box);
    return swatch;
}

QLineEdit* makeTextBox(QWidget& parent, const QString& name) {
    auto* text = new QLineEdit(name, &parent);  // the text starts as the control's name
    text->setObjectName(name);
    return text;
}

// Nobody sees these controls, so the keyboard must not reach them either: a Tab that
// landed on the factor options would let arrow keys change the factor unseen.
void keepKeyboardAway(QWidget& frame) {
    for (QWidget* control : frame.findChildren<QWidget*>()) control->setFocusPolicy(Qt::NoFocus);
}

}  // namespace

void EditorPanel::createAmountFrame(QWidget& window) {
    Frame6 = makeFrame(window, QStringLiteral("Frame6"), tr("Amount"));
    placeInTwips(*Frame6, kUnseenLeft, 120, 1455, 1335);
    const char* captions[4] = {"factor 1", "factor 2", "factor 4", "factor 8"};
    for (int index = 0; index < int(Option1.size()); ++index) {
        Option1[index] = new QRadioButton(tr(captions[index]), Frame6);
        Option1[index]->setObjectName(arrayElementName("Option1", index));
        placeInTwips(*Option1[index], 120, 240 + 255 * index, 1215, 255);
    }
    Option1[1]->setChecked(true);
    keepKeyboardAway(*Frame6);
}

void EditorPanel::createColorXFrame(QWidget& window) {
    Frame7 = makeFrame(window, QStringLiteral("Frame7"), tr("Color X"));
    placeInTwips(*Frame7, kUnseenLeft, 1560, 2535, 2175);
    shp_colorX = new ColourShape(Frame7);
    shp_colorX->setObjectName(QStringLiteral("shp_colorX"));
    shp_colorX->setBackColor(0x00000000);
    placeInTwips(*shp_colorX, 120, 240, 615, 615);
    for (int index = 0; index < int(lbl_colX.size()); ++index) {
        lbl_colX[index] = makeSwatch(*Frame7, index);
        placeInTwips(*lbl_colX[index], 840 + 405 * (index % 4), 240 + 330 * (index / 4), 375, 285);
    }
    txt_centerX = makeTextBox(*Frame7, QStringLiteral("txt_centerX"));
    placeInTwips(*txt_centerX, 120, 1020, 2295, 315);
    txt_centerY = makeTextBox(*Frame7, QStringLiteral("txt_centerY"));
    placeInTwips(*txt_centerY, 120, 1440, 2295, 315);
    keepKeyboardAway(*Frame7);
}

// The options count 1, 2, 4 and 8 for "factor 1" to "factor 8"; with none selected the
// factor is 0.
std::int16_t EditorPanel::factor() const {
    std::int16_t sum = 0;
    for (int index = 0; index < int(Option1.size()); ++index) {
        if (Option1[index]->isChecked()) sum = std::int16_t(sum + (1 << index));
    }
    return sum;
}

std::int32_t EditorPanel::colourX() const {
    return std::int32_t(shp_colorX->backColor());
}

}  // namespace quillon
