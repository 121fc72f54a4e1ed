#include "platform/widgets/VideoCapX.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "platform/core/PictureFiles.h"

namespace quillon::platform {
namespace {

void drawFrame(QPainter& painter, const QRect& target, const QImage& frame) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame);
}

}  // namespace

VideoCapX::VideoCapX(std::unique_ptr<MediaPlayback> playback, QWidget* parent)
    : QWidget(parent), playback_(std::move(playback)) {
    if (!playback_) playback_ = std::make_unique<UnavailableMediaPlayback>();
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(playback_.get(), &MediaPlayback::frameChanged, this, qOverload<>(&QWidget::update));
}

VideoCapX::~VideoCapX() = default;

void VideoCapX::setFrameFit(FrameFit fit) {
    fit_ = fit;
    updateView();
    update();
}

QSize VideoCapX::pixelSize() const {
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

// Playback draws frames at the picture's size in device pixels, and none while the
// picture is hidden or its window minimised.
void VideoCapX::updateView() {
    const bool seen = isVisible() && !window()->isMinimized();
    playback_->setView(seen ? pixelSize() : QSize(0, 0), fit_ == FrameFit::KeepAspect);
}

void VideoCapX::resizeEvent(QResizeEvent*) {
    updateView();
}

void VideoCapX::showEvent(QShowEvent*) {
    if (watchedWindow_ != window()) {
        if (watchedWindow_) watchedWindow_->removeEventFilter(this);
        watchedWindow_ = window();
        watchedWindow_->installEventFilter(this);
    }
    updateView();
}

void VideoCapX::hideEvent(QHideEvent*) {
    updateView();
}

bool VideoCapX::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watchedWindow_ && event->type() == QEvent::WindowStateChange) updateView();
    return QWidget::eventFilter(watched, event);
}

QRect VideoCapX::frameRect(QSize frameSize) const {
    if (fit_ == FrameFit::Stretch || frameSize.isEmpty()) return rect();
    const QSize fitted = frameSize.scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(rect().center());
    return target;
}

QImage VideoCapX::shownFrame(const QImage& frame) const {
    QImage shown(size(), QImage::Format_RGB32);
    shown.fill(Qt::black);
    if (frame.isNull() || shown.isNull()) return shown;
    QPainter painter(&shown);
    drawFrame(painter, frameRect(frame.size()), frame);
    return shown;
}

FrameWriteResult VideoCapX::writeFrame(const QString& path) {
    QFile::remove(path);
    const QImage frame = playback_->exactFrame();
    if (frame.isNull()) return FrameWriteResult::failure(tr("There is no video frame to grab."));
    if (!savePictureAsBitmap(shownFrame(frame), path).ok())
        return FrameWriteResult::failure(tr("The frame could not be written to \"%1\".").arg(path));
    return Done{};
}

// A frame drawn at the picture's size in device pixels, black bars included, is shown
// as it is; any other is fitted here. Playback gets ready once the first picture is
// on screen.
void VideoCapX::paintEvent(QPaintEvent*) {
    if (!prepared_) {
        prepared_ = true;
        QTimer::singleShot(0, playback_.get(), &MediaPlayback::prepare);
    }
    QPainter painter(this);
    const QImage frame = playback_->displayedFrame();
    if (!frame.isNull() && frame.size() == pixelSize()) {
        painter.drawImage(rect(), frame);
        return;
    }
    painter.fillRect(rect(), Qt::black);
    if (!frame.isNull()) drawFrame(painter, frameRect(frame.size()), frame);
}

// A click is a press and a release of the left button, both on the picture.
void VideoCapX::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

// A double-click is one click: its second press starts no new one.
void VideoCapX::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed_ = false;
    event->accept();
}

void VideoCapX::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && clickNotification_) emit clicked();
}

}  // namespace quillon::platform
