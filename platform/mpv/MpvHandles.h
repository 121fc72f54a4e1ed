#pragma once

// libmpv's handles as MpvPlayback holds them. Only MpvPlayback's own files include this.

#include <mpv/client.h>
#include <mpv/render.h>

#include "platform/mpv/MpvPlayback.h"

namespace quillon::platform {

struct MpvPlayback::Mpv {
    mpv_handle* handle = nullptr;
    mpv_render_context* render = nullptr;

    Mpv() = default;
    Mpv(const Mpv&) = delete;
    Mpv& operator=(const Mpv&) = delete;

    // The callbacks are removed first: once libmpv has returned from removing them, none
    // is running or will run, so nothing queues work for a playback that is going away.
    ~Mpv() {
        if (render) {
            mpv_render_context_set_update_callback(render, nullptr, nullptr);
            mpv_render_context_free(render);
        }
        if (handle) {
            mpv_set_wakeup_callback(handle, nullptr, nullptr);
            mpv_terminate_destroy(handle);
        }
    }
};

}  // namespace quillon::platform
