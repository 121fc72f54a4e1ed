// Feeds arbitrary bytes to the picture loader the window and quillon-fx share, as BMP,
// PNG, JPEG, GIF or anything else the content may claim to be. A picture that decodes is
// then put into a box and bound to an engine, as the window's "Open" does; one that does
// not must say why.
#include <QBuffer>
#include <cstdlib>

#include "engine/clsASMpic.h"
#include "fuzz/FuzzSurroundings.h"
#include "platform/core/PictureFiles.h"

namespace {

using namespace quillon;

// Small enough that no input makes a run slow, large enough to pass every small picture.
constexpr std::int64_t kLargestPixels = std::int64_t{1} << 20;
constexpr int kBoxWidth = 40, kBoxHeight = 30;

void showInEngine(const QImage& picture) {
    platform::PictureBoxModel box;
    box.setOuterSizePixels(kBoxWidth, kBoxHeight);
    box.setPicture(picture);
    clsASMpic engine;
    engine.setPictureBox(box);
    if (engine.boundBox() != &box || engine.surface().width() != kBoxWidth) std::abort();
    engine.ASM_PalEffects(11);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::prepareSurroundings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    QByteArray content =
        QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), qsizetype(size));
    QBuffer device(&content);
    device.open(QIODevice::ReadOnly);
    const platform::LoadedPicture loaded = platform::loadPicture(device, kLargestPixels);
    if (!loaded.ok()) {
        if (loaded.error().isEmpty()) std::abort();
        return 0;
    }
    if (std::int64_t{loaded.value().width()} * loaded.value().height() > kLargestPixels)
        std::abort();
    showInEngine(loaded.value());
    return 0;
}
