#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSlider>
#include <QTimer>
#include <cstdint>
#include <optional>

#include "app/controls/BevelButton.h"
#include "app/window/HandlerErrors.h"
#include "app/window/MediaPanel.h"
#include "app/window/NumericText.h"
#include "app/window/SingleText.h"
#include "engine/clsASMpic.h"
#include "platform/core/Application.h"
#include "platform/core/FileDialogs.h"
#include "platform/core/MessageBox.h"
#include "platform/core/TempFrameFile.h"
#include "platform/widgets/VideoCapX.h"

namespace quillon {
namespace {

// Stepping back seeks this many milliseconds before the position, about one frame.
constexpr std::int64_t kStepBackMs = 23;
// "Slower" stops at this text rather than reaching a speed of 0.
const QString kSlowestSpeedText = QStringLiteral("0.1");

// The speed text read strictly: after trimming, the whole text must be one decimal
// number with "." as its point, or there is no value. A number too large for a double
// is still an overflow error.
std::optional<double> strictNumber(const QString& text) {
    static const QRegularExpression decimal(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    const QString trimmed = text.trimmed();
    if (!decimal.match(trimmed).hasMatch()) return std::nullopt;
    return numericValueOfText(trimmed);
}

const std::vector<platform::FileFilter>& mediaFilters() {
    static const std::vector<platform::FileFilter> filters{
        {QObject::tr("Media files"),
         QStringLiteral("*.avi *.wav *.wmv *.mp3 *.mov *.mpg *.mpeg *.mp4 *.m4v *.mkv *.webm "
                        "*.ogv *.ogg *.oga *.opus *.flac *.m4a")},
        {QObject::tr("All files"), QStringLiteral("*")}};
    return filters;
}

}  // namespace

void MediaPanel::createActions() {
    connectHandler(BevelButton1, &QPushButton::clicked, this, &MediaPanel::openClicked);
    connectHandler(command1, &QPushButton::clicked, this, &MediaPanel::playClicked);
    connectHandler(command2, &QPushButton::clicked, this, &MediaPanel::stopClicked);
    connectHandler(command3, &QPushButton::clicked, this, &MediaPanel::stepBackClicked);
    connectHandler(command4, &QPushButton::clicked, this, &MediaPanel::stepForwardClicked);
    connectHandler(BevelButton7, &QPushButton::clicked, this, &MediaPanel::startPositionClicked);
    connectHandler(BevelButton8, &QPushButton::clicked, this, &MediaPanel::endPositionClicked);
    connectHandler(BevelButton5, &QPushButton::clicked, this, &MediaPanel::grabFrame);
    connectHandler(vcx, &platform::VideoCapX::clicked, this, &MediaPanel::grabFrame);
    // The panel sets the position slider with its signals blocked, so only the user's
    // moves arrive here.
    connectHandler(Slider1, &QSlider::valueChanged, this, &MediaPanel::positionMoved);
    connectHandler(Slider2, &QSlider::valueChanged, this, &MediaPanel::volumeMoved);
    connectHandler(Check1, &QCheckBox::clicked, this, &MediaPanel::muteClicked);
    connectHandler(Timer1, &QTimer::timeout, this, &MediaPanel::timerTicked);
    createSpeedActions();
}

void MediaPanel::createSpeedActions() {
    connectHandler(BevelButton2, &QPushButton::clicked, this, &MediaPanel::fasterClicked);
    connectHandler(BevelButton3, &QPushButton::clicked, this, &MediaPanel::slowerClicked);
    connectHandler(BevelButton4, &QPushButton::clicked, this, &MediaPanel::resetSpeedClicked);
}

// A cancelled dialog leaves the open file as it is. A name typed without an extension is
// taken as a video of the designed kind: "clip" opens clip.avi.
void MediaPanel::openClicked() {
    const std::optional<QString> chosen = platform::fileDialogs().openFileName(
        tr("Open media file"), mediaFilters(), QStringLiteral("avi"));
    if (chosen) start(*chosen);
}

void MediaPanel::playClicked() {
    vcx->setRate(numericValueOfText(Text1->text()));
    vcx->play();
}

void MediaPanel::stopClicked() {
    vcx->stop();
}

// Before the start the seek is passed on as it is; the component clamps it.
void MediaPanel::stepBackClicked() {
    const std::int64_t position = nearestInt32(vcx->position());
    vcx->seek(double(position - kStepBackMs));
}

void MediaPanel::stepForwardClicked() {
    vcx->stepFrame();
}

void MediaPanel::startPositionClicked() {
    vcx->seek(0.0);
}

void MediaPanel::endPositionClicked() {
    vcx->seek(double(nearestInt32(vcx->length())));
}

void MediaPanel::positionMoved() {
    const double positionMs = double(std::int64_t(Slider1->value()) * 100);
    vcx->seek(positionMs);
    showTime(positionMs);
}

void MediaPanel::volumeMoved() {
    vcx->setVolume(Slider2->value());
}

void MediaPanel::muteClicked() {
    vcx->setMuted(Check1->isChecked());
}

// No upper limit here: the component clamps the rate to what playback supports.
void MediaPanel::fasterClicked() {
    showSpeed(numericValueOfText(Text1->text()) + 0.1);
}

void MediaPanel::slowerClicked() {
    if (Text1->text() == kSlowestSpeedText) return;
    const std::optional<double> speed = strictNumber(Text1->text());
    if (speed) showSpeed(*speed - 0.1);
}

void MediaPanel::resetSpeedClicked() {
    Text1->setText(QStringLiteral("1.0"));
    vcx->setRate(1.0);
}

// The rate is read back from the text, so playback runs at exactly the speed shown.
void MediaPanel::showSpeed(double rate) {
    Text1->setText(textFromDouble(rate));
    vcx->setRate(numericValueOfText(Text1->text()));
}

// The engine loads the written frame into the editor's picture straight from the file,
// without a dialog. Without a frame the editor keeps the picture it has.
void MediaPanel::grabFrame() {
    const platform::FrameWriteResult written = vcx->writeFrame(platform::grabbedFramePath());
    if (!written.ok()) {
        platform::messages().show(platform::applicationTitle(), written.error(),
                                  platform::MessageIcon::Information);
        return;
    }
    engine().openPictureFile(platform::grabbedFramePath());
}

}  // namespace quillon
