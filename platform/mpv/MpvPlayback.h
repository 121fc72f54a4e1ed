#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>

#include "platform/core/MediaPlayback.h"

struct mpv_event;
struct mpv_event_property;

namespace quillon::platform {

// Media playback through libmpv: the one class of the program that talks to it. Frames
// are drawn in software into an image at the size they are shown, so playback works the
// same on a desktop, under a virtual display and without one. libmpv calls back from its
// own threads; those calls only queue work onto the GUI thread, where every libmpv call
// is made. The player itself starts once the picture is on screen (or with the first
// file), so the program shows its window without waiting for the media library.
//
// Seeks and frame steps run in the background, and positions come from the properties
// libmpv reports as they change. Whatever needs a result (an opened file, the position
// after a step, the exact frame) waits for it, bounded, while the window repaints.
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
    void setView(QSize pixels, bool keepAspect) override;
    void prepare() override { startPlayer(); }

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

    bool startPlayer();
    void closeVideoOutput();
    bool configure();
    void applySettings();
    void connectCallbacks();
    MediaOpenResult load(const QString& path);
    MediaOpenResult loadFailure() const;
    void readFileFacts();
    void reopen(const QString& path, double positionMs);

    bool waitFor(Wait what, int timeoutMs);
    void settle(Wait what);
    bool stillWaiting(Wait what) const;
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleEndFile(const mpv_event& event);
    void handlePropertyChange(const mpv_event_property& property);
    void handlePauseChange(bool paused);
    void turnAsTheFileSays();
    void refreshPosition();

    void renderWhenDue();
    void renderFrame(QSize size);
    void skipFrame();
    void handleOwnSize(bool width, const mpv_event_property& property);
    QImage screenshot();

    bool command(std::initializer_list<QByteArray> words);
    double doubleProperty(const char* name, double fallback);
    bool flagProperty(const char* name);
    void setFlagProperty(const char* name, bool value);
    void setDoubleProperty(const char* name, double value);
    bool hasVideo() const { return hasVideo_; }
    double frameDuration() const;
    double durationMs() const;
    bool atEnd() const;

    std::unique_ptr<Mpv> mpv_;
    QString startFailure_;
    QString openPath_;
    QImage frame_;
    QSize view_;
    bool keepAspect_ = true;
    bool autoPlay_ = false;
    bool waiting_ = false;
    QSize ownSize_;              // the video's, from libmpv
    bool shapeChanged_ = false;  // the video changed shape and no new frame came since
    QByteArray rotationFilter_;  // the filter turning the open file's frames, if any
    // Known between files, applied when the player starts.
    double rate_ = 1.0;
    std::int32_t volume_ = 100;
    bool muted_ = false;
    // Observed from libmpv; seconds.
    double timePos_ = 0;
    double duration_ = 0;
    double fps_ = 0;
    bool paused_ = true;
    bool eofReached_ = false;
    bool hasVideo_ = false;
    Seek seek_ = Seek::None;
    double seekTarget_ = 0;
    Step step_ = Step::None;
    Load load_ = Load::Waiting;
    bool loadStarted_ = false;
    std::int64_t loadEntry_ = -1;
    int loadError_ = 0;
};

}  // namespace quillon::platform
