// How MpvPlayback gets pictures out of libmpv: frames for the screen are drawn in
// software into an aligned buffer; the exact frame comes from a raw screenshot.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/MpvHandles.h"

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
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide)
        return {};
    const std::size_t stride = (std::size_t(width) * 4 + kAlignment - 1) / kAlignment * kAlignment;
    void* buffer = std::aligned_alloc(kAlignment, stride * std::size_t(height));
    if (!buffer) return {};
    return QImage(static_cast<uchar*>(buffer), width, height, qsizetype(stride),
                  QImage::Format_RGB32, [](void* data) { std::free(data); }, buffer);
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

void MpvPlayback::renderWhenDue() {
    if (mpv_ && (mpv_render_context_update(mpv_->render) & MPV_RENDER_UPDATE_FRAME))
        renderFrame();
}

// Draws the frame on screen at the video's own size; the picture scales it for showing.
void MpvPlayback::renderFrame() {
    std::int64_t width = 0, height = 0;
    mpv_get_property(mpv_->handle, "dwidth", MPV_FORMAT_INT64, &width);
    mpv_get_property(mpv_->handle, "dheight", MPV_FORMAT_INT64, &height);
    QImage frame = alignedImage(int(std::clamp<std::int64_t>(width, 0, kLargestSide + 1)),
                                int(std::clamp<std::int64_t>(height, 0, kLargestSide + 1)));
    if (frame.isNull()) return;
    int size[2] = {frame.width(), frame.height()};
    std::size_t stride = std::size_t(frame.bytesPerLine());
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, frame.bits()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(mpv_->render, params) < 0) return;
    makeOpaque(frame);
    frame_ = frame;
    emit frameChanged();
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
