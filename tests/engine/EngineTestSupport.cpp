#include "tests/engine/EngineTestSupport.h"

#include <cassert>
#include <cstring>

#include "platform/core/Display.h"

namespace quillon::testing {

EngineFixtureEnvironment::EngineFixtureEnvironment() {
    platform::Display::overrideBitsPerPixel(32);
    platform::Display::overrideTwipsPerPixel(15.0);
}

EngineFixtureEnvironment::~EngineFixtureEnvironment() {
    platform::Display::overrideBitsPerPixel(0);
    platform::Display::overrideTwipsPerPixel(0.0);
}

QImage patternPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x & 255, y & 255, (x + 7 * y) & 255));
    }
    return picture;
}

std::unique_ptr<platform::PictureBoxModel> makeBox(int width, int height, const QImage& picture) {
    auto box = std::make_unique<platform::PictureBoxModel>();
    box->setTwipsPerPixel(15.0, 15.0);
    box->setOuterSizePixels(width, height);
    box->setPicture(picture);
    return box;
}

std::vector<std::uint32_t> planeWords(const clsASMpic& engine, int plane) {
    const PixelSurface& surface = engine.surface();
    std::vector<std::uint32_t> words(surface.planeBytes() / 4);
    if (!words.empty())
        std::memcpy(words.data(), surface.plane(SurfacePlane(plane)), surface.planeBytes());
    return words;
}

std::vector<std::uint32_t> shownWords(const platform::PictureBoxModel& box) {
    const QImage& image = box.image();
    std::vector<std::uint32_t> words;
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) words.push_back(row[x] & 0x00FFFFFF);
    }
    return words;
}

void fillPlane(clsASMpic& engine, int plane, std::uint32_t word) {
    PixelSurface& surface = engine.surface();
    auto* pixels = surface.plane(SurfacePlane(plane));
    for (std::size_t i = 0; i < surface.planeBytes(); i += 4) std::memcpy(pixels + i, &word, 4);
}

}  // namespace quillon::testing

namespace quillon::testsupport {
namespace {

KernelSpy* active = nullptr;

template <KernelSlot slot>
void spyOn(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
           KernelPointerArgument c) {
    active->calls.push_back({slot, *record, a, b, c});
    if (active->onCall) active->onCall(active->calls.back());
}

}  // namespace

KernelSpy::KernelSpy() {
    assert(active == nullptr);
    active = this;
}

KernelSpy::~KernelSpy() {
    active = nullptr;
}

KernelTable KernelSpy::table() {
    return {.rotation = spyOn<KernelSlot::Rotation>,
            .palEffects = spyOn<KernelSlot::PalEffects>,
            .pixelEffects = spyOn<KernelSlot::PixelEffects>,
            .colorXEffects = spyOn<KernelSlot::ColorXEffects>,
            .magnify = spyOn<KernelSlot::Magnify>};
}

}  // namespace quillon::testsupport
