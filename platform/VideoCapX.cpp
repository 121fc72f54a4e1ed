#include "platform/VideoCapX.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>

namespace quillon::platform {
namespace {

void drawFrame(QPainter& painter, const QRect& target, const QImage& frame) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame);
}

bool saveBitmap(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return image.save(&file, "BMP") && file.commit();
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
    update();
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
    if (frame.isNull()) return {false, tr("There is no video frame to grab.")};
    if (!saveBitmap(shownFrame(frame), path))
        return {false, tr("The frame could not be written to \"%1\".").arg(path)};
    return {true, {}};
}

void VideoCapX::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QImage frame = playback_->displayedFrame();
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
