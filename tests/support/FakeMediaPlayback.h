#pragma once

#include <QImage>
#include <QStringList>
#include <memory>

#include "platform/core/MediaPlayback.h"

namespace quillon::testing {

// A playback engine driven by the test: it answers with the duration, length, position,
// open failure and frame it is given, and writes every command it receives, in order,
// as a line of text ("open /x/clip.avi", "seek 0", "rate 1.1", "mute 1", "step").
class FakeMediaPlayback : public platform::MediaPlayback {
    Q_OBJECT
public:
    QStringList calls;
    double durationMs = 0;
    double lengthMs = 0;
    double positionMs = 0;
    QString openFailure;  // a non-empty failure makes every open fail
    QImage frame;

    platform::MediaOpenResult open(const QString& path) override;
    void setAutoPlay(bool autoPlay) override { record("autoplay", autoPlay); }
    void play() override { calls << QStringLiteral("play"); }
    void pause() override { calls << QStringLiteral("pause"); }
    void seek(double positionMs) override { record("seek", positionMs); }
    void stepFrame() override { calls << QStringLiteral("step"); }
    double position() override { return positionMs; }
    double length() override { return lengthMs; }
    void setMuted(bool muted) override { record("mute", muted); }
    void setVolume(std::int32_t volume) override { record("volume", volume); }
    void setRate(double rate) override { record("rate", rate); }
    QImage displayedFrame() const override { return frame; }
    QImage exactFrame() override { return frame; }

private:
    void record(const char* command, double argument);
};

// Hands a fake engine to every video component made in its lifetime; `last` is the one
// made most recently (owned by its component). Neither copied nor moved: the maker holds
// `this`.
class ScopedFakeMediaPlayback {
public:
    ScopedFakeMediaPlayback();
    FakeMediaPlayback* last = nullptr;

private:
    platform::ScopedMediaPlaybackMaker maker_;
};

}  // namespace quillon::testing
