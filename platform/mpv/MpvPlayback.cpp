#include "platform/mpv/MpvPlayback.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/mpv/MpvHandles.h"

namespace quillon::platform {
namespace {

constexpr double kSlowestRate = 0.01;
// An exact seek in libmpv shows the first frame starting no earlier than this many
// seconds before the target.
constexpr double kSeekTolerance = 0.005;
// Frames are taken to start at this many seconds after their time stamp at the latest,
// to absorb rounding in the time stamps.
constexpr double kTimeStampSlack = 0.0005;
constexpr double kFastestRate = 100.0;
constexpr int kCloseTimeoutMs = 300;

// Run by libmpv once a file is open, before its tracks are chosen and decoded.
constexpr const char* kPreloadedHook = "on_preloaded";

// Followed as they change, instead of being asked for.
constexpr std::pair<const char*, mpv_format> kObserved[] = {
    {"pause", MPV_FORMAT_FLAG},      {"time-pos", MPV_FORMAT_DOUBLE},
    {"duration", MPV_FORMAT_DOUBLE}, {"eof-reached", MPV_FORMAT_FLAG},
    {"dwidth", MPV_FORMAT_INT64},    {"dheight", MPV_FORMAT_INT64},
};

// A filter turning frames clockwise by `degrees` to show them as their file says, black
// around those turned by other than quarter turns; empty for none.
QByteArray rotationFilter(std::int64_t degrees) {
    switch ((degrees % 360 + 360) % 360) {
        case 0:
            return {};
        case 90:
            return "lavfi=[transpose=clock]";
        case 180:
            return "lavfi=[hflip,vflip]";
        case 270:
            return "lavfi=[transpose=cclock]";
        default: {
            const QByteArray angle = QByteArray::number(degrees) + "*PI/180";
            return "lavfi=[rotate=" + angle + ":ow=rotw(" + angle + "):oh=roth(" + angle +
                   "):c=black]";
        }
    }
}

// Set before the player starts; each keeps playback working the same whether or not
// there is a desktop, a graphics card or a sound card.
constexpr const char* kOptions[][2] = {
    {"vo", "libmpv"},                    // frames go to our software renderer
    {"hwdec", "no"},                     // decoded frames must be readable in memory
    {"video-rotate", "no"},              // turned by a filter: the software renderer cannot
    {"video-timing-offset", "0"},        // rendering never waits on the GUI thread
    {"keep-open", "yes"},                // the last frame stays at the end of a file
    {"pause", "yes"},                    // nothing plays until asked
    {"idle", "yes"},                     // the player outlives the files it plays
    {"gapless-audio", "no"},             // positions start at 0 for every sound file
    {"audio-display", "no"},             // cover art is not video
    {"ao", "pipewire,pulse,alsa,null"},  // silence rather than failure without a sound card
    {"ytdl", "no"},                      // local files only, no helper programs
    {"load-scripts", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
};

// A libmpv failure to open a file, told to the person who chose it.
QString describeOpenError(int error) {
    switch (error) {
        case MPV_ERROR_UNKNOWN_FORMAT:
            return QObject::tr("It is not a video or sound file that can be played.");
        case MPV_ERROR_LOADING_FAILED:
            return QObject::tr("It could not be read.");
        case MPV_ERROR_NOTHING_TO_PLAY:
            return QObject::tr("It holds no video or sound that can be played.");
        case MPV_ERROR_AO_INIT_FAILED:
            return QObject::tr("No sound output could be started.");
        case MPV_ERROR_VO_INIT_FAILED:
            return QObject::tr("No video output could be started.");
        default:
            return QObject::tr("The media library reported: %1.")
                .arg(QString::fromUtf8(mpv_error_string(error)));
    }
}

// Whether `path` names a file that could be read at all, and if not, why not.
QString unreadableFileReason(const QFileInfo& file) {
    if (!file.exists()) return QObject::tr("The file does not exist.");
    if (file.isDir()) return QObject::tr("It is a folder, not a file.");
    if (!file.isReadable()) return QObject::tr("You do not have permission to read it.");
    return {};
}

}  // namespace

MpvPlayback::MpvPlayback() = default;

MpvPlayback::~MpvPlayback() {
    closeVideoOutput();
}

// libmpv's video output waits for a frame it handed over to be taken before it closes,
// and gives up only after a fifth of a second; so the file is stopped and frames are
// taken, undrawn, until the output is closed, and the program ends without that wait.
void MpvPlayback::closeVideoOutput() {
    if (!mpv_) return;
    const char* stop[] = {"stop", nullptr};
    mpv_command_async(mpv_->handle, 0, stop);
    const QDeadlineTimer deadline(kCloseTimeoutMs);
    while (!deadline.hasExpired()) {
        mpv_render_context_update(mpv_->render);
        skipFrame();
        int configured = 0;
        mpv_get_property(mpv_->handle, "vo-configured", MPV_FORMAT_FLAG, &configured);
        if (!configured) return;
        QThread::msleep(1);
    }
}

// libmpv refuses to start unless numbers are written with "." (the C numeric locale);
// the whole program reads and writes numbers that way, so this changes nothing else. A
// player that failed to start is not tried again.
bool MpvPlayback::startPlayer() {
    if (mpv_) return true;
    if (!startFailure_.isEmpty()) return false;
    if (std::strcmp(std::setlocale(LC_NUMERIC, nullptr), "C") != 0) std::setlocale(LC_NUMERIC, "C");
    mpv_ = std::make_unique<Mpv>();
    mpv_->handle = mpv_create();
    if (!mpv_->handle || !configure()) {
        mpv_.reset();
        startFailure_ = tr("The media player could not be started.");
        return false;
    }
    connectCallbacks();
    applySettings();
    return true;
}

bool MpvPlayback::configure() {
    for (const auto& [name, value] : kOptions) {
        if (mpv_set_option_string(mpv_->handle, name, value) < 0) return false;
    }
    if (mpv_initialize(mpv_->handle) < 0) return false;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&mpv_->render, mpv_->handle, params) < 0) return false;
    for (const auto& [name, format] : kObserved) {
        if (mpv_observe_property(mpv_->handle, 0, name, format) < 0) return false;
    }
    return mpv_hook_add(mpv_->handle, 0, kPreloadedHook, 0) >= 0;
}

// What was set before the player started.
void MpvPlayback::applySettings() {
    setDoubleProperty("speed", rate_);
    setDoubleProperty("volume", volume_);
    setFlagProperty("mute", muted_);
    setFlagProperty("keepaspect", keepAspect_);
}

// Both callbacks arrive on libmpv's threads and only queue a call for the GUI thread; the
// queued call is dropped if this object is gone by then.
void MpvPlayback::connectCallbacks() {
    mpv_set_wakeup_callback(
        mpv_->handle,
        [](void* self) {
            QMetaObject::invokeMethod(static_cast<MpvPlayback*>(self), &MpvPlayback::drainEvents,
                                      Qt::QueuedConnection);
        },
        this);
    mpv_render_context_set_update_callback(
        mpv_->render,
        [](void* self) {
            QMetaObject::invokeMethod(static_cast<MpvPlayback*>(self), &MpvPlayback::renderWhenDue,
                                      Qt::QueuedConnection);
        },
        this);
}

MediaOpenResult MpvPlayback::open(const QString& path) {
    const QFileInfo file(path);
    if (const QString reason = unreadableFileReason(file); !reason.isEmpty())
        return MediaOpenResult::failure(reason);
    if (!startPlayer()) return MediaOpenResult::failure(startFailure_);

    const QString previousPath = openPath_;
    const double previousPosition = position();
    MediaOpenResult result = load(file.absoluteFilePath());
    if (result.ok()) {
        openPath_ = file.absoluteFilePath();
        if (autoPlay_) play();
    } else {
        reopen(previousPath, previousPosition);
    }
    return result;
}

// The old file stays in the player while the new one is tried; a file that fails leaves
// the player empty, so the one that was open before is loaded again where it was.
void MpvPlayback::reopen(const QString& path, double positionMs) {
    openPath_.clear();
    frame_ = QImage();
    emit frameChanged();
    if (path.isEmpty() || !load(path).ok()) return;
    openPath_ = path;
    seek(positionMs);
}

// Returns once the file's first frame is up (or, for sound, once it is ready to play),
// so that whatever comes next starts from a settled player.
MediaOpenResult MpvPlayback::load(const QString& path) {
    setFlagProperty("pause", true);
    paused_ = true;
    load_ = Load::Waiting;
    loadStarted_ = false;
    step_ = Step::None;
    drainEvents();  // the file before may still report; none of it is about this one
    seek_ = Seek::FirstFrame;
    seekTarget_ = 0;
    if (!command({"loadfile", path.toUtf8(), "replace"})) {
        seek_ = Seek::None;
        return MediaOpenResult::failure(describeOpenError(0));
    }
    if (!waitFor(Wait::FileLoaded, kOpenTimeoutMs)) {
        seek_ = Seek::None;
        command({"stop"});
        return MediaOpenResult::failure(
            tr("It did not open within %1 seconds.").arg(kOpenTimeoutMs / 1000));
    }
    if (load_ == Load::Failed) return loadFailure();
    readFileFacts();
    if (!hasVideo_) {
        frame_ = QImage();
        emit frameChanged();
    }
    settle(Wait::SeekDone);
    return durationMs();
}

// What stays the same while a file plays, read once it has loaded.
void MpvPlayback::readFileFacts() {
    std::int64_t track = 0;
    hasVideo_ =
        mpv_get_property(mpv_->handle, "current-tracks/video/id", MPV_FORMAT_INT64, &track) >= 0;
    fps_ = doubleProperty("container-fps", 0);
    if (!(fps_ > 0)) fps_ = doubleProperty("estimated-vf-fps", 0);
    duration_ = doubleProperty("duration", 0);
    timePos_ = 0;
    eofReached_ = false;
}

// Phones and cameras store a video upright and say how far to turn it. libmpv would
// leave the turn to the video output, and its software renderer cannot turn frames (it
// aborts on such a frame), so turning is off there and a filter of our own does it.
// The filter is set while the file is opened, before any frame is decoded: frames
// decoded before a change of filter would reach the renderer in the new shape's place,
// which aborts as well. Frames and screenshots then come out upright. The turn is that
// of the first video track, which is the one played.
void MpvPlayback::turnAsTheFileSays() {
    std::int64_t degrees = 0, count = 0;
    mpv_get_property(mpv_->handle, "track-list/count", MPV_FORMAT_INT64, &count);
    for (std::int64_t track = 0; track < count; ++track) {
        const QByteArray prefix = "track-list/" + QByteArray::number(track) + "/";
        char* type = mpv_get_property_string(mpv_->handle, prefix + "type");
        const bool video = type && std::strcmp(type, "video") == 0;
        mpv_free(type);
        if (!video || flagProperty(prefix + "albumart")) continue;
        mpv_get_property(mpv_->handle, prefix + "demux-rotation", MPV_FORMAT_INT64, &degrees);
        break;
    }
    const QByteArray filter = rotationFilter(degrees);
    if (filter == rotationFilter_) return;
    rotationFilter_ = filter;
    mpv_set_property_string(mpv_->handle, "vf", filter.constData());
}

MediaOpenResult MpvPlayback::loadFailure() const {
    return MediaOpenResult::failure(describeOpenError(loadError_));
}

// Playing from the end of a file, where nothing is left to play, starts it again from
// the beginning.
void MpvPlayback::play() {
    if (openPath_.isEmpty()) return;
    if (atEnd()) seek(0);
    setFlagProperty("pause", false);
    paused_ = false;
}

void MpvPlayback::pause() {
    if (!mpv_) return;
    setFlagProperty("pause", true);
    paused_ = true;
}

// The frame shown at a position is the one on screen at that time: the last one that
// starts at or before it. libmpv would show the next one instead, so it is asked for a
// target just past the start of the wanted frame. libmpv reads a negative position from
// the end of the file, so positions are kept inside the file.
void MpvPlayback::seek(double positionMs) {
    if (openPath_.isEmpty() || std::isnan(positionMs)) return;
    const double target = std::clamp(positionMs, 0.0, length());
    const double frame = frameDuration();
    const double seconds =
        frame > 0 ? std::max(0.0, target / 1000.0 - frame + kSeekTolerance + kTimeStampSlack)
                  : target / 1000.0;
    drainEvents();  // so that no restart of an earlier seek is taken for this one's
    if (!command({"seek", QByteArray::number(seconds, 'g', 17), "absolute+exact"})) return;
    seek_ = Seek::Asked;
    seekTarget_ = target;
}

// At the end, or showing the last frame.
bool MpvPlayback::atEnd() const {
    if (eofReached_) return true;
    const double lastFrameStart = durationMs() - std::max(frameDuration() * 1000.0, 1.0);
    return seek_ == Seek::None && timePos_ * 1000.0 >= lastFrameStart;
}

// Seconds per frame of the video, 0 when unknown or there is no video.
double MpvPlayback::frameDuration() const {
    return fps_ > 0 && fps_ < 1000 && hasVideo_ ? 1.0 / fps_ : 0.0;
}

// A step from a paused picture unpauses for one frame and pauses again; from playback it
// only pauses. It starts from the frame a seek still under way will show (libmpv would
// drop a step asked for meanwhile). Sound alone has no frames to step, and the last frame
// none to step to: libmpv would take the step and never finish it.
void MpvPlayback::stepFrame() {
    if (openPath_.isEmpty() || !hasVideo_) return;
    if (seek_ != Seek::None) settle(Wait::SeekDone);
    if (atEnd()) return;
    if (command({"frame-step"})) step_ = paused_ ? Step::Starting : Step::Running;
}

// While a seek runs the player still reports the old position; the position asked for
// is the one that will be shown.
double MpvPlayback::position() {
    if (openPath_.isEmpty()) return 0;
    if (step_ != Step::None) settle(Wait::StepDone);
    if (seek_ != Seek::None) return seekTarget_;
    return std::clamp(timePos_ * 1000.0, 0.0, length());
}

double MpvPlayback::length() {
    return openPath_.isEmpty() ? 0.0 : durationMs();
}

double MpvPlayback::durationMs() const {
    const double duration = duration_ * 1000.0;
    return std::isfinite(duration) ? std::max(0.0, duration) : 0.0;
}

double MpvPlayback::rate() {
    return doubleProperty("speed", rate_);
}

std::int32_t MpvPlayback::volume() {
    return std::int32_t(std::lround(doubleProperty("volume", volume_)));
}

bool MpvPlayback::muted() {
    return mpv_ ? flagProperty("mute") : muted_;
}

void MpvPlayback::setMuted(bool muted) {
    muted_ = muted;
    if (mpv_) setFlagProperty("mute", muted);
}

void MpvPlayback::setVolume(std::int32_t volume) {
    volume_ = std::clamp(volume, 0, 100);
    if (mpv_) setDoubleProperty("volume", volume_);
}

void MpvPlayback::setRate(double rate) {
    if (std::isnan(rate)) return;
    rate_ = std::clamp(rate, kSlowestRate, kFastestRate);
    if (mpv_) setDoubleProperty("speed", rate_);
}

// Plain property and command access; a failure reads as the fallback or does nothing.

bool MpvPlayback::command(std::initializer_list<QByteArray> words) {
    if (!mpv_) return false;
    const char* args[8] = {};
    std::size_t count = 0;
    for (const QByteArray& word : words) {
        if (count + 1 < std::size(args)) args[count++] = word.constData();
    }
    return mpv_command(mpv_->handle, args) >= 0;
}

double MpvPlayback::doubleProperty(const char* name, double fallback) {
    double value = fallback;
    if (!mpv_ || mpv_get_property(mpv_->handle, name, MPV_FORMAT_DOUBLE, &value) < 0)
        return fallback;
    return value;
}

bool MpvPlayback::flagProperty(const char* name) {
    int value = 0;
    if (!mpv_ || mpv_get_property(mpv_->handle, name, MPV_FORMAT_FLAG, &value) < 0) return false;
    return value != 0;
}

void MpvPlayback::setFlagProperty(const char* name, bool value) {
    int flag = value ? 1 : 0;
    mpv_set_property(mpv_->handle, name, MPV_FORMAT_FLAG, &flag);
}

void MpvPlayback::setDoubleProperty(const char* name, double value) {
    mpv_set_property(mpv_->handle, name, MPV_FORMAT_DOUBLE, &value);
}

}  // namespace quillon::platform
