#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "app/controls/BevelButton.h"
#include "app/controls/WindowGeometry.h"
#include "app/window/EditorControls.h"
#include "app/window/MediaPanel.h"
#include "platform/widgets/VideoCapX.h"

// Places in twips inside the frame (6135 x 7755). Under the video come the position
// slider across the frame, a grid of playback buttons with the speed frame below it, a
// right-hand column with the volume and "Mute", and the file name along the bottom.
namespace quillon {
namespace {

constexpr int kLeft = 180;
constexpr int kGridTop = 5040, kColumnStep = 1575, kRowStep = 420;
constexpr int kButtonWidth = 1485, kButtonHeight = 360;
constexpr int kColumnLeft = 5055, kColumnWidth = 900;

void placeInGrid(QWidget& button, int row, int column) {
    placeInTwips(button, kLeft + column * kColumnStep, kGridTop + row * kRowStep, kButtonWidth,
                 kButtonHeight);
}

QSlider* makeSlider(QWidget& parent, const QString& name, Qt::Orientation orientation) {
    auto* slider = new QSlider(orientation, &parent);
    slider->setObjectName(name);
    return slider;
}

}  // namespace

// Same size as the editor's picture, so a grabbed frame fills it exactly.
void MediaPanel::createVideo() {
    vcx = new platform::VideoCapX(platform::makeMediaPlayback(), this);
    vcx->setObjectName(QStringLiteral("vcx"));
    vcx->setToolTip(tr("Click to Grab a Frame"));
    placeInTwips(*vcx, 180, 240, 5775, 4335);
}

// One step is a tenth of a second, one page a second. Until a file opens there is
// nothing to move through.
void MediaPanel::createPositionSlider() {
    Slider1 = makeSlider(*this, QStringLiteral("Slider1"), Qt::Horizontal);
    Slider1->setRange(0, 0);
    Slider1->setPageStep(10);
    placeInTwips(*Slider1, kLeft, 4650, 5775, 330);
}

void MediaPanel::createButtons() {
    BevelButton1 =
        makeButton(*this, QStringLiteral("BevelButton1"), tr("Open"), tr("Open a Video File "));
    command1 = makeButton(*this, QStringLiteral("command1"), tr("Play"), tr("Play the Video"));
    command2 = makeButton(*this, QStringLiteral("command2"), tr("Stop"), tr("Stop Video"));
    command3 = makeButton(*this, QStringLiteral("command3"), tr("Step Back"),
                          tr("Steps 1 Frame Backwards"));
    command4 = makeButton(*this, QStringLiteral("command4"), tr("Step Forward"),
                          tr("Step 1 Frame Forward"));
    BevelButton5 = makeButton(*this, QStringLiteral("BevelButton5"), tr("Grab Frame"),
                              tr("Grabs current frame for image editing"));
    BevelButton7 = makeButton(*this, QStringLiteral("BevelButton7"), tr("Start Position"),
                              tr("To Beginning of Video"));
    BevelButton8 = makeButton(*this, QStringLiteral("BevelButton8"), tr("End Position"),
                              tr("To End of Video"));
    BevelButton* const grid[] = {command1, command2,     BevelButton1, command3,
                                 command4, BevelButton5, BevelButton7, BevelButton8};
    for (int index = 0; index < 8; ++index) placeInGrid(*grid[index], index / 3, index % 3);
}

void MediaPanel::createSpeedFrame() {
    Frame2 = makeFrame(*this, QStringLiteral("Frame2"), tr("Speed"));
    placeInTwips(*Frame2, kLeft, 6330, 4635, 780);

    Text1 = new QLineEdit(QStringLiteral("1.0"), Frame2);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAlignment(Qt::AlignCenter);
    placeInTwips(*Text1, 120, 300, 840, 330);

    BevelButton2 = makeButton(*Frame2, QStringLiteral("BevelButton2"), tr("Faster"),
                              tr("Increases Playback Speed"));
    placeInTwips(*BevelButton2, 1050, 285, 1080, 360);
    BevelButton3 = makeButton(*Frame2, QStringLiteral("BevelButton3"), tr("Slower"),
                              tr("Decreases Playback Speed"));
    placeInTwips(*BevelButton3, 2220, 285, 1080, 360);
    BevelButton4 = makeButton(*Frame2, QStringLiteral("BevelButton4"), tr("Reset"));
    placeInTwips(*BevelButton4, 3390, 285, 1080, 360);
}

// The engine starts at full volume, and the slider with it; up is louder.
void MediaPanel::createVolumeColumn() {
    Label4 = makeLabel(*this, QStringLiteral("Label4"), tr("Volume"));
    Label4->setAlignment(Qt::AlignCenter);
    placeInTwips(*Label4, kColumnLeft, kGridTop, kColumnWidth, 255);

    Slider2 = makeSlider(*this, QStringLiteral("Slider2"), Qt::Vertical);
    Slider2->setRange(0, 100);
    Slider2->setValue(100);
    Slider2->setPageStep(10);
    Label4->setBuddy(Slider2);
    placeInTwips(*Slider2, kColumnLeft + 300, 5340, 300, 1440);

    Check1 = new QCheckBox(tr("Mute"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    placeInTwips(*Check1, kColumnLeft, 6840, kColumnWidth, 300);
}

// In the grid's free place after "End Position"; the slider's tooltip says the same.
void MediaPanel::createTimeLabel() {
    LabelTime = makeLabel(*this, QStringLiteral("LabelTime"), QString());
    LabelTime->setAlignment(Qt::AlignCenter);
    placeInGrid(*LabelTime, 2, 2);
}

// A long path is cut off at the frame's edge; the tooltip shows all of it.
void MediaPanel::createFileLabels(QWidget& window) {
    Label3 = makeLabel(*this, QStringLiteral("Label3"), tr("File:"));
    placeInTwips(*Label3, kLeft, 7260, 435, 255);
    Label2 = makeLabel(*this, QStringLiteral("Label2"), QStringLiteral("*.*"));
    placeInTwips(*Label2, 660, 7260, 5295, 255);

    // Behind the black video picture, so it stays unseen whichever way the frame paints.
    Label1 = makeLabel(window, QStringLiteral("Label1"), QStringLiteral("Label1"));
    placeInTwips(*Label1, 1200, 1200, 1215, 255);
    Label1->lower();
}

}  // namespace quillon
