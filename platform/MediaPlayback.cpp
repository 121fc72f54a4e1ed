#include "platform/MediaPlayback.h"

namespace quillon::platform {
namespace {

MediaPlaybackMaker& currentMaker() {
    static MediaPlaybackMaker maker;
    return maker;
}

}  // namespace

MediaOpenResult UnavailableMediaPlayback::open(const QString&) {
    return {false, 0, QObject::tr("This copy of the program has no media player.")};
}

std::unique_ptr<MediaPlayback> makeMediaPlayback() {
    std::unique_ptr<MediaPlayback> playback;
    if (currentMaker()) playback = currentMaker()();
    if (!playback) playback = std::make_unique<UnavailableMediaPlayback>();
    return playback;
}

void installMediaPlaybackMaker(MediaPlaybackMaker maker) {
    currentMaker() = std::move(maker);
}

ScopedMediaPlaybackMaker::ScopedMediaPlaybackMaker(MediaPlaybackMaker maker)
    : previous_(std::move(currentMaker())) {
    currentMaker() = std::move(maker);
}

ScopedMediaPlaybackMaker::~ScopedMediaPlaybackMaker() {
    currentMaker() = std::move(previous_);
}

}  // namespace quillon::platform
