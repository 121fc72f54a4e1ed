#include "app/window/MediaPanel.h"

#include <QFileInfo>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/controls/BevelButton.h"
#include "app/controls/ButtonImages.h"
#include "app/controls/WindowGeometry.h"
#include "app/window/NumericText.h"
#include "app/window/SingleText.h"
#include "platform/core/Application.h"
#include "platform/core/MessageBox.h"
#include "platform/widgets/VideoCapX.h"

namespace quillon {
namespace {

constexpr int kTimerIntervalMs = 300;

// The position slider moves in steps of a tenth of a second.
int sliderStepsFromMs(std::int32_t ms) {
    return nearestInt32(ms / 100.0);
}

// "m:ss.t", or "h:mm:ss.t" from an hour on; tenths, as the slider moves.
QString clockText(double ms) {
    const std::int64_t tenths = std::llround(std::clamp(ms, 0.0, 1e12) / 100.0);
    const std::int64_t seconds = tenths / 10, minutes = seconds / 60, hours = minutes / 60;
    const QString secondsText =
        QStringLiteral("%1.%2").arg(seconds % 60, 2, 10, QLatin1Char('0')).arg(tenths % 10);
    if (hours == 0) return QStringLiteral("%1:%2").arg(minutes).arg(secondsText);
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'))
        .arg(secondsText);
}

// The file's own name for the message; the whole path when it has no last part.
QString shownFileName(const QString& filename) {
    const QString name = QFileInfo(filename).fileName();
    return name.isEmpty() ? filename : name;
}

}  // namespace

MediaPanel::MediaPanel(QWidget& window, const ImageList* images, EngineAccess engineAccess)
    : QGroupBox(tr("Media Player"), &window), engine(std::move(engineAccess)) {
    setObjectName(QStringLiteral("FraMedia"));
    placeInTwips(*this, 120, 60, 6135, 7755);
    createVideo();
    createPositionSlider();
    createButtons();
    createSpeedFrame();
    createVolumeColumn();
    createFileLabels(window);
    createTimeLabel();
    useImages(images);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerIntervalMs);
    createActions();
}

void MediaPanel::useImages(const ImageList* images) {
    for (BevelButton* button : findChildren<BevelButton*>()) button->setImageList(images);
    BevelButton1->setImage(kImageOpen);
    command1->setImage(kImagePlay);
    command2->setImage(kImageStop);
    command3->setImage(kImageStepBack);
    command4->setImage(kImageStepForward);
    BevelButton7->setImage(kImagePosition);
    BevelButton8->setImage(kImagePosition);
    BevelButton2->setImage(kImageFaster);
    BevelButton3->setImage(kImageSlower);
}

void MediaPanel::load() {
    vcx->setFrameFit(platform::FrameFit::KeepAspect);
    vcx->setAutoPlay(false);
    vcx->setClickNotification(true);
    Timer1->start();
}

void MediaPanel::start(const QString& filename) {
    const platform::MediaOpenResult result = vcx->openFile(filename);
    if (!result.ok()) {
        const QString text = tr("The media file \"%1\" could not be opened.\n%2")
                                 .arg(shownFileName(filename), result.error());
        platform::messages().show(platform::applicationTitle(), text,
                                  platform::MessageIcon::Warning);
        return;
    }
    showOpenedFile(filename, result.value());
    // Playing once and seeking back shows the first frame; the file then waits, stopped.
    vcx->play();
    vcx->seek(0.0);
    vcx->stop();
}

// The slider is set before playback starts, so its changes are the panel's own and must
// not seek.
void MediaPanel::showOpenedFile(const QString& filename, double durationMs) {
    const std::int32_t duration = nearestInt32(durationMs);
    Label1->setText(textFromDouble(duration / 1000.0) + tr(" sec."));
    Label2->setText(filename);
    Label2->setToolTip(filename);
    const QSignalBlocker quiet(Slider1);
    Slider1->setValue(0);
    // A length that cannot be read leaves nothing to move through.
    Slider1->setMaximum(std::max(0, sliderStepsFromMs(nearestInt32(vcx->length()))));
    showTime(0);
}

void MediaPanel::showTime(double positionMs) {
    const QString text = clockText(positionMs) + QStringLiteral(" / ") + clockText(vcx->length());
    LabelTime->setText(text);
    Slider1->setToolTip(text);
}

// Follows playback on the slider. While the user holds the thumb, it stays under the
// mouse; positions the slider cannot show are left alone.
void MediaPanel::timerTicked() {
    if (Slider1->isSliderDown()) return;
    const std::int32_t position = nearestInt32(vcx->position());
    if (position == kNoInt32) return;
    const int value = sliderStepsFromMs(position);
    if (value < Slider1->minimum() || value > Slider1->maximum()) return;
    showPositionQuietly(value);
    showTime(position);
}

void MediaPanel::showPositionQuietly(int value) {
    const QSignalBlocker quiet(Slider1);
    Slider1->setValue(value);
}

}  // namespace quillon
