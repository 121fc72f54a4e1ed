#include "platform/core/MediaPlayback.h"

namespace quillon::platform {
namespace {

using MakerSlot = ServiceSlot<MediaPlaybackMaker>;

MakerSlot& makerSlot() {
    static MakerSlot slot([] {
        return MediaPlaybackMaker([] {
            return std::unique_ptr<MediaPlayback>(std::make_unique<UnavailableMediaPlayback>());
        });
    });
    return slot;
}

}  // namespace

MediaOpenResult UnavailableMediaPlayback::open(const QString&) {
    return MediaOpenResult::failure(QObject::tr("This copy of the program has no media player."));
}

std::unique_ptr<MediaPlayback> makeMediaPlayback() {
    std::unique_ptr<MediaPlayback> playback = makerSlot().current()();
    if (!playback) playback = std::make_unique<UnavailableMediaPlayback>();
    return playback;
}

void installMediaPlaybackMaker(MediaPlaybackMaker maker) {
    makerSlot().install(std::move(maker));
}

ScopedMediaPlaybackMaker::ScopedMediaPlaybackMaker(MediaPlaybackMaker maker)
    : installed_(makerSlot(), std::move(maker)) {}

}  // namespace quillon::platform
