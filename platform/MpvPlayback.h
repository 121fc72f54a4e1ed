#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>

#include "platform/MediaPlayback.h"

struct mpv_event;

namespace quillon::platform {

// Media playback through libmpv: the one class of the program that talks to it. Frames
// are drawn in software into an image, so playback works the same on a desktop, under a
// virtual display and without one. libmpv calls back from its own threads; those calls
// only queue work onto the GUI thread, where every libmpv call is made.
//
// Seeks and frame steps run in the background; whatever needs their result (the
// position after a step, the exact frame) waits for them to finish, briefly.
class MpvPlayback : public MediaPlayback {
    Q_OBJECT
public:
    MpvPlayback();
    ~MpvPlayback() override;

    MediaOpenResult open(const QString& path) override;
    void setAutoPlay(bool autoPlay) override { autoPlay_ = autoPlay; }
    void play() override;
    void pause() override;
    void seek(double positionMs) override;
    void stepFrame() override;
    double position() override;
    double length() override;
    void setMuted(bool muted) override;
    void setVolume(std::int32_t volume) override;
    void setRate(double rate) override;
    QImage displayedFrame() const override { return frame_; }
    QImage exactFrame() override;

    // What playback runs at now, as libmpv has it.
    double rate();
    std::int32_t volume();
    bool muted();

    // How long opening a file and finishing a seek or a step may take.
    static constexpr int kOpenTimeoutMs = 15000;
    static constexpr int kSettleTimeoutMs = 3000;

private:
    struct Mpv;
    enum class Wait { FileLoaded, SeekDone, StepDone };
    enum class Step { None, Starting, Running };
    enum class Load { Waiting, Loaded, Failed };
    // A seek is asked for, then started (libmpv says so), then done once playback
    // restarts; a freshly loaded file also waits for its first restart.
    enum class Seek { None, FirstFrame, Asked, Started };

    void startPlayer();
    bool configure();
    void connectCallbacks();
    MediaOpenResult load(const QString& path);
    MediaOpenResult loadFailure() const;
    void reopen(const QString& path, double positionMs);

    bool waitFor(Wait what, int timeoutMs);
    void settle(Wait what);
    bool stillWaiting(Wait what) const;
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleEndFile(const mpv_event& event);
    void handlePauseChange(bool paused);

    void renderWhenDue();
    void renderFrame();
    QImage screenshot();

    bool command(std::initializer_list<QByteArray> words);
    double doubleProperty(const char* name, double fallback);
    bool flagProperty(const char* name);
    void setFlagProperty(const char* name, bool value);
    void setDoubleProperty(const char* name, double value);
    bool hasVideo();
    double frameDuration();
    bool atEnd();

    std::unique_ptr<Mpv> mpv_;
    QString startFailure_;
    QString openPath_;
    QImage frame_;
    bool autoPlay_ = false;
    Seek seek_ = Seek::None;
    double seekTarget_ = 0;
    Step step_ = Step::None;
    Load load_ = Load::Waiting;
    bool loadStarted_ = false;
    std::int64_t loadEntry_ = -1;
    int loadError_ = 0;
};

}  // namespace quillon::platform
