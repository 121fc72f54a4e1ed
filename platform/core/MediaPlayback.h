#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/core/Outcome.h"
#include "platform/core/ServiceSlot.h"

namespace quillon::platform {

// What opening a media file came to: its duration in milliseconds, or a sentence
// telling the user why it could not be opened.
using MediaOpenResult = Outcome<double>;

// Plays one media file at a time: the engine behind the video component. Positions and
// durations are milliseconds. Every call is made on the GUI thread; with no file open,
// reads give 0 and commands do nothing.
class MediaPlayback : public QObject {
    Q_OBJECT
public:
    ~MediaPlayback() override = default;

    // Replaces the open file. When the new file cannot be opened, the previous one stays
    // open where it was.
    virtual MediaOpenResult open(const QString& path) = 0;
    // Whether a newly opened file starts playing at once (otherwise it waits, paused).
    virtual void setAutoPlay(bool autoPlay) = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    // Moves to a position, clamped to [0, length]; the frame shown is the one at that
    // exact time, not the nearest key frame.
    virtual void seek(double positionMs) = 0;
    // Advances exactly one frame and stays paused.
    virtual void stepFrame() = 0;
    virtual double position() = 0;
    virtual double length() = 0;

    virtual void setMuted(bool muted) = 0;
    // 0 (silent) to 100 (full); values outside are clamped.
    virtual void setVolume(std::int32_t volume) = 0;
    // 1.0 is normal speed; values playback does not support are clamped to the nearest
    // one it does, and a value that is not a number is ignored.
    virtual void setRate(double rate) = 0;

    // The frame on screen, for painting: drawn at the view's size by an engine that
    // follows setView, otherwise at its own size; null when there is none.
    virtual QImage displayedFrame() const = 0;
    // The frame at the current position once every seek and step asked for has
    // finished; null when there is none (no file, or sound only).
    virtual QImage exactFrame() = 0;
    // The size, in device pixels, at which frames are shown; empty while they cannot be
    // seen. An engine that draws frames at that size fits them as asked (proportions
    // kept, black bars around); others ignore it and the picture scales.
    virtual void setView(QSize, bool /*keepAspect*/) {}
    // Gets ready to open files; called once the picture is first on screen, so that
    // the program shows its window before the engine starts.
    virtual void prepare() {}

signals:
    // A new frame is on screen.
    void frameChanged();
};

// Used where no media library is available: every file fails to open.
class UnavailableMediaPlayback : public MediaPlayback {
    Q_OBJECT
public:
    MediaOpenResult open(const QString&) override;
    void setAutoPlay(bool) override {}
    void play() override {}
    void pause() override {}
    void seek(double) override {}
    void stepFrame() override {}
    double position() override { return 0; }
    double length() override { return 0; }
    void setMuted(bool) override {}
    void setVolume(std::int32_t) override {}
    void setRate(double) override {}
    QImage displayedFrame() const override { return {}; }
    QImage exactFrame() override { return {}; }
};

// Makes the playback engine for each video component. The program installs the real
// one at start; until then every component gets an unavailable one.
using MediaPlaybackMaker = std::function<std::unique_ptr<MediaPlayback>()>;
std::unique_ptr<MediaPlayback> makeMediaPlayback();
void installMediaPlaybackMaker(MediaPlaybackMaker maker);

// Installs a maker for the lifetime of a scope and restores the previous one.
class ScopedMediaPlaybackMaker {
public:
    explicit ScopedMediaPlaybackMaker(MediaPlaybackMaker maker);

private:
    ScopedService<MediaPlaybackMaker> installed_;
};

}  // namespace quillon::platform
