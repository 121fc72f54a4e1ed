// How MpvPlayback follows libmpv's events: loading, seeking and stepping finish in the
// background and are told by events, and the position and length by observed
// properties, all drained on the GUI thread.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <cstring>

#include "platform/mpv/MpvHandles.h"

namespace quillon::platform {
namespace {

// One wait on libmpv's event queue; short, so the window repaints and a frame due
// meanwhile is drawn in time.
constexpr double kEventWaitSeconds = 0.005;

}  // namespace

void MpvPlayback::drainEvents() {
    if (!mpv_) return;
    for (;;) {
        const mpv_event* event = mpv_wait_event(mpv_->handle, 0);
        if (event->event_id == MPV_EVENT_NONE) return;
        handleEvent(*event);
    }
}

// Waits on the GUI thread, handling events and drawing frames as they come (libmpv holds
// back a decoded frame until it has been drawn), and lets the window repaint meanwhile;
// the user's input waits until the result is in. A wait asked for while one is already
// under way (from a timer that ran meanwhile) does not nest: it reads what is known.
// False when time ran out.
bool MpvPlayback::waitFor(Wait what, int timeoutMs) {
    if (!mpv_) return false;
    if (waiting_) return !stillWaiting(what);
    waiting_ = true;
    const QDeadlineTimer deadline(timeoutMs);
    while (stillWaiting(what) && !deadline.hasExpired()) {
        const mpv_event* event = mpv_wait_event(mpv_->handle, kEventWaitSeconds);
        if (event->event_id != MPV_EVENT_NONE) handleEvent(*event);
        renderWhenDue();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    waiting_ = false;
    return !stillWaiting(what);
}

// A seek or step that a damaged file never finishes is given up once its time is out,
// so that every later call does not wait for it again: the position is then the
// player's own, and the frame the one it shows.
void MpvPlayback::settle(Wait what) {
    if (waitFor(what, kSettleTimeoutMs) || waiting_) return;
    if (what == Wait::StepDone) step_ = Step::None;
    if (what == Wait::SeekDone) seek_ = Seek::None;
    refreshPosition();
}

bool MpvPlayback::stillWaiting(Wait what) const {
    switch (what) {
        case Wait::FileLoaded:
            return load_ == Load::Waiting;
        case Wait::SeekDone:
            return seek_ != Seek::None;
        case Wait::StepDone:
            return step_ != Step::None;
    }
    return false;
}

void MpvPlayback::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_START_FILE:
            loadStarted_ = true;
            loadEntry_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
            break;
        case MPV_EVENT_FILE_LOADED:
            if (loadStarted_) load_ = Load::Loaded;
            break;
        case MPV_EVENT_END_FILE:
            handleEndFile(event);
            break;
        case MPV_EVENT_SEEK:
            if (seek_ == Seek::Asked) seek_ = Seek::Started;
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            // A seek's own restart comes after its start; a file's first one after it loaded.
            if (seek_ == Seek::Asked) break;
            if (seek_ == Seek::FirstFrame && load_ != Load::Loaded) break;
            seek_ = Seek::None;
            refreshPosition();
            break;
        case MPV_EVENT_VIDEO_RECONFIG:
            shapeChanged_ = true;
            break;
        case MPV_EVENT_HOOK:
            // libmpv waits for the answer; the only hook asked for is the file's opening.
            turnAsTheFileSays();
            mpv_hook_continue(mpv_->handle, static_cast<const mpv_event_hook*>(event.data)->id);
            break;
        case MPV_EVENT_PROPERTY_CHANGE:
            handlePropertyChange(*static_cast<const mpv_event_property*>(event.data));
            break;
        default:
            break;
    }
}

// A property that has no value at the moment (no file) reads as nothing.
void MpvPlayback::handlePropertyChange(const mpv_event_property& property) {
    const bool isFlag = property.format == MPV_FORMAT_FLAG;
    const bool isDouble = property.format == MPV_FORMAT_DOUBLE;
    const char* name = property.name;
    if (std::strcmp(name, "pause") == 0 && isFlag) {
        handlePauseChange(*static_cast<const int*>(property.data) != 0);
    } else if (std::strcmp(name, "eof-reached") == 0) {
        eofReached_ = isFlag && *static_cast<const int*>(property.data) != 0;
    } else if (std::strcmp(name, "time-pos") == 0 && isDouble) {
        timePos_ = *static_cast<const double*>(property.data);
    } else if (std::strcmp(name, "duration") == 0 && isDouble) {
        duration_ = *static_cast<const double*>(property.data);
    } else if (std::strcmp(name, "dwidth") == 0 || std::strcmp(name, "dheight") == 0) {
        handleOwnSize(name[1] == 'w', property);
    }
}

// A file replaced by the next one ends with reason "stop", and a playlist hands over to
// its first entry with "redirect": neither is a failure. Only the end of the file being
// loaded counts.
void MpvPlayback::handleEndFile(const mpv_event& event) {
    const auto* end = static_cast<const mpv_event_end_file*>(event.data);
    if (end->reason != MPV_END_FILE_REASON_ERROR) return;
    if (!loadStarted_ || end->playlist_entry_id != loadEntry_) return;
    if (load_ == Load::Waiting) {
        load_ = Load::Failed;
        loadError_ = end->error;
    }
    seek_ = Seek::None;
    step_ = Step::None;
}

// A step from a paused picture shows as "playing", then "paused" once the frame is up.
void MpvPlayback::handlePauseChange(bool paused) {
    paused_ = paused;
    if (step_ == Step::Starting && !paused) {
        step_ = Step::Running;
    } else if (step_ == Step::Running && paused) {
        step_ = Step::None;
        refreshPosition();
    }
}

// Once a seek or step has finished, the player's own position is the one shown.
void MpvPlayback::refreshPosition() {
    if (mpv_) mpv_get_property(mpv_->handle, "time-pos", MPV_FORMAT_DOUBLE, &timePos_);
}

}  // namespace quillon::platform
