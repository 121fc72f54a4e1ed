#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "platform/core/MediaPlayback.h"

namespace quillon::platform {

// How a frame fills the video picture: stretched to it, or as large as fits with its
// proportions kept and black bars beside or above it.
enum class FrameFit : std::int16_t { Stretch = 0, KeepAspect = 1 };

// Done, or a sentence for the user when nothing was written.
using FrameWriteResult = Outcome<Done>;

// The video component: a picture showing the frames of the open media file, and the
// members through which a window drives playback. Positions are milliseconds. A click
// on the picture raises clicked() while click notification is on.
class VideoCapX : public QWidget {
    Q_OBJECT
public:
    explicit VideoCapX(std::unique_ptr<MediaPlayback> playback, QWidget* parent = nullptr);
    ~VideoCapX() override;

    // The three settings a window makes when it loads.
    void setFrameFit(FrameFit fit);
    void setAutoPlay(bool autoPlay) { playback_->setAutoPlay(autoPlay); }
    void setClickNotification(bool on) { clickNotification_ = on; }
    FrameFit frameFit() const { return fit_; }
    bool clickNotification() const { return clickNotification_; }

    MediaOpenResult openFile(const QString& path) { return playback_->open(path); }
    void play() { playback_->play(); }
    void stop() { playback_->pause(); }
    void setMuted(bool muted) { playback_->setMuted(muted); }
    double position() { return playback_->position(); }
    void seek(double positionMs) { playback_->seek(positionMs); }
    double length() { return playback_->length(); }
    void stepFrame() { playback_->stepFrame(); }
    void setVolume(std::int32_t volume) { playback_->setVolume(volume); }
    void setRate(double rate) { playback_->setRate(rate); }

    // Writes the frame at the current position, as this picture shows it and at its
    // size, to `path` as a Windows bitmap. Whatever the file held before is removed
    // first, so a failed write never leaves an older frame behind.
    FrameWriteResult writeFrame(const QString& path);

    // The frame as the picture shows it: `frame` placed on black at the picture's size.
    QImage shownFrame(const QImage& frame) const;

    MediaPlayback& playback() { return *playback_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QRect frameRect(QSize frameSize) const;
    QSize pixelSize() const;
    void updateView();

    std::unique_ptr<MediaPlayback> playback_;
    FrameFit fit_ = FrameFit::KeepAspect;
    bool clickNotification_ = true;
    bool pressed_ = false;
    QObject* watchedWindow_ = nullptr;
    bool prepared_ = false;
};

}  // namespace quillon::platform
