// How MpvPlayback gets pictures out of libmpv: frames for the screen are drawn in
// software into an aligned buffer at the size they are shown; the exact frame comes
// from a raw screenshot, at the video's own size.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/mpv/MpvHandles.h"

namespace quillon::platform {
namespace {

// libmpv draws fastest into rows and buffers aligned for its widest vector code.
constexpr std::size_t kAlignment = 64;
// Larger frames are not drawn: no video is that large, and a broken file may say so.
constexpr std::int64_t kLargestSide = 16384;

// libmpv leaves the fourth byte of each "bgr0" pixel undefined; a 32-bit RGB image
// wants it opaque.
void makeOpaque(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) row[x] |= 0xFF000000u;
    }
}

// An RGB32 image over a buffer of its own, aligned for libmpv; null when the size is
// absurd or memory is short.
QImage alignedImage(int width, int height) {
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return {};
    const std::size_t stride = (std::size_t(width) * 4 + kAlignment - 1) / kAlignment * kAlignment;
    void* buffer = std::aligned_alloc(kAlignment, stride * std::size_t(height));
    if (!buffer) return {};
    return QImage(
        static_cast<uchar*>(buffer), width, height, qsizetype(stride), QImage::Format_RGB32,
        [](void* data) { std::free(data); }, buffer);
}

const mpv_node* mapEntry(const mpv_node& map, const char* key) {
    if (map.format != MPV_FORMAT_NODE_MAP) return nullptr;
    for (int i = 0; i < map.u.list->num; ++i) {
        if (std::strcmp(map.u.list->keys[i], key) == 0) return &map.u.list->values[i];
    }
    return nullptr;
}

std::int64_t intEntry(const mpv_node& map, const char* key) {
    const mpv_node* entry = mapEntry(map, key);
    return entry && entry->format == MPV_FORMAT_INT64 ? entry->u.int64 : -1;
}

// A copy of a raw screenshot's pixels, checked against the buffer libmpv gave.
QImage imageFromScreenshot(const mpv_node& shot) {
    const mpv_node* format = mapEntry(shot, "format");
    const mpv_node* data = mapEntry(shot, "data");
    const std::int64_t width = intEntry(shot, "w"), height = intEntry(shot, "h");
    const std::int64_t stride = intEntry(shot, "stride");
    if (!format || format->format != MPV_FORMAT_STRING || std::strcmp(format->u.string, "bgr0"))
        return {};
    if (!data || data->format != MPV_FORMAT_BYTE_ARRAY || width <= 0 || height <= 0 ||
        width > kLargestSide || height > kLargestSide || stride < width * 4 ||
        std::int64_t(data->u.ba->size) < stride * height)
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull()) return {};
    const auto* source = static_cast<const uchar*>(data->u.ba->data);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), source + stride * y, std::size_t(width) * 4);
    makeOpaque(image);
    return image;
}

}  // namespace

// libmpv also asks to draw the frame before again. Right after the video changed shape
// (a new stream, another track) that older frame would be drawn with the new shape's
// rectangles, which aborts inside libmpv, so until a new frame has come it is taken
// undrawn; the picture still shows it. Events are handled first, so that a change of
// shape is known before its frames are drawn.
void MpvPlayback::renderWhenDue() {
    if (!mpv_) return;
    drainEvents();
    if (!(mpv_render_context_update(mpv_->render) & MPV_RENDER_UPDATE_FRAME)) return;
    mpv_render_frame_info next{};
    mpv_render_param ask[] = {{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &next},
                              {MPV_RENDER_PARAM_INVALID, nullptr}};
    const bool known = mpv_render_context_get_info(mpv_->render, ask[0]) >= 0 &&
                       (next.flags & MPV_RENDER_FRAME_INFO_PRESENT);
    const bool redraw = next.flags & MPV_RENDER_FRAME_INFO_REDRAW;
    const bool drawable = known && !(redraw && shapeChanged_);
    if (known && !redraw) shapeChanged_ = false;
    const QSize size = !drawable ? QSize() : view_.isValid() ? view_ : ownSize_;
    if (size.isEmpty() || size.width() > kLargestSide || size.height() > kLargestSide) {
        skipFrame();
    } else {
        renderFrame(size);
    }
}

// A player shown nowhere yet draws frames at the video's own size, known a little
// after the first frame: that frame is then drawn again at it.
void MpvPlayback::handleOwnSize(bool width, const mpv_event_property& property) {
    const std::int64_t value =
        property.format == MPV_FORMAT_INT64 ? *static_cast<const std::int64_t*>(property.data) : 0;
    const int side = int(std::clamp<std::int64_t>(value, 0, kLargestSide + 1));
    if (width) {
        ownSize_.setWidth(side);
    } else {
        ownSize_.setHeight(side);
    }
    if (view_.isValid() || !hasVideo_ || shapeChanged_ || ownSize_.isEmpty() ||
        ownSize_.width() > kLargestSide || ownSize_.height() > kLargestSide)
        return;
    mpv_render_context_update(mpv_->render);
    renderFrame(ownSize_);
}

// Takes the frame without drawing it: libmpv holds every frame back until it has been
// taken.
void MpvPlayback::skipFrame() {
    int skip = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(mpv_->render, params);
}

// Draws the frame at `size`, into the buffer of the frame before when it has that size;
// libmpv scales it and adds the black bars.
void MpvPlayback::renderFrame(QSize size) {
    if (frame_.size() != size) frame_ = alignedImage(size.width(), size.height());
    if (frame_.isNull()) return skipFrame();
    uchar* const bits = frame_.bits();  // a copy still held elsewhere is left alone
    int pixels[2] = {frame_.width(), frame_.height()};
    std::size_t stride = std::size_t(frame_.bytesPerLine());
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, pixels},
                                 {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, bits},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(mpv_->render, params) < 0) return;
    makeOpaque(frame_);
    emit frameChanged();
}

// Frames are drawn at the size they are shown, fitted as the picture asks; nothing is
// drawn while they cannot be seen. The next frame comes at the new size.
void MpvPlayback::setView(QSize pixels, bool keepAspect) {
    view_ = pixels.isValid() ? pixels : QSize(0, 0);
    if (keepAspect != keepAspect_ && mpv_) setFlagProperty("keepaspect", keepAspect);
    keepAspect_ = keepAspect;
}

QImage MpvPlayback::exactFrame() {
    if (openPath_.isEmpty() || !hasVideo()) return {};
    if (step_ != Step::None) settle(Wait::StepDone);
    if (seek_ != Seek::None) settle(Wait::SeekDone);
    return screenshot();
}

QImage MpvPlayback::screenshot() {
    const char* args[] = {"screenshot-raw", "video", nullptr};
    mpv_node shot;
    if (mpv_command_ret(mpv_->handle, args, &shot) < 0) return {};
    QImage image = imageFromScreenshot(shot);
    mpv_free_node_contents(&shot);
    return image;
}

}  // namespace quillon::platform
