// How MpvPlayback follows libmpv's events: loading, seeking and stepping finish in the
// background and are told by events, drained on the GUI thread.

#include <QDeadlineTimer>
#include <cstring>

#include "platform/MpvHandles.h"

namespace quillon::platform {
namespace {

// One wait on libmpv's event queue; short, so a frame due meanwhile is drawn in time.
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

// Waits on the GUI thread, handling events and drawing frames as they come: libmpv holds
// back a decoded frame until it has been drawn. False when time ran out.
bool MpvPlayback::waitFor(Wait what, int timeoutMs) {
    if (!mpv_) return false;
    const QDeadlineTimer deadline(timeoutMs);
    while (stillWaiting(what)) {
        if (deadline.hasExpired()) return false;
        const mpv_event* event = mpv_wait_event(mpv_->handle, kEventWaitSeconds);
        if (event->event_id != MPV_EVENT_NONE) handleEvent(*event);
        renderWhenDue();
    }
    return true;
}

// A seek or step that a damaged file never finishes is given up once its time is out,
// so that every later call does not wait for it again: the position is then the
// player's own, and the frame the one it shows.
void MpvPlayback::settle(Wait what) {
    if (waitFor(what, kSettleTimeoutMs)) return;
    if (what == Wait::StepDone) step_ = Step::None;
    if (what == Wait::SeekDone) seek_ = Seek::None;
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
            if (seek_ != Seek::Asked) seek_ = Seek::None;
            break;
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* property = static_cast<const mpv_event_property*>(event.data);
            if (std::strcmp(property->name, "pause") == 0 && property->format == MPV_FORMAT_FLAG)
                handlePauseChange(*static_cast<const int*>(property->data) != 0);
            break;
        }
        default:
            break;
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
    if (step_ == Step::Starting && !paused) step_ = Step::Running;
    else if (step_ == Step::Running && paused) step_ = Step::None;
}

}  // namespace quillon::platform
