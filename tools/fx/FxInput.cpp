#include "tools/fx/FxInput.h"

#include <QFile>
#include <cstring>

#include "engine/clsASMpic.h"
#include "platform/core/PictureBoxModel.h"
#include "platform/core/PictureFiles.h"
#include "tools/fx/FxMemory.h"

namespace quillon::fx {
namespace {

QString inputName(const QString& path) {
    return QStringLiteral("input '%1'").arg(path);
}

// Pictures are read where the window reads them, with the plan's limit on their size.
Result<QImage> readPicture(const QString& path, std::int64_t largestPixels) {
    using Read = Result<QImage>;
    const platform::LoadedPicture loaded = platform::loadPicture(path, largestPixels);
    if (loaded.kind() == platform::LoadFailure::TooManyPixels) {
        return Read::failure(
            QStringLiteral("%1: %2 (raise the limit with --max-megapixels, at most %3)")
                .arg(inputName(path), loaded.error())
                .arg(kMostMegapixels));
    }
    if (!loaded.ok()) {
        return Read::failure(QStringLiteral("cannot read '%1': %2").arg(path, loaded.error()));
    }
    const Status fits =
        checkPictureSize(loaded.value().width(), loaded.value().height(), inputName(path));
    if (!fits.ok()) return Read::failure(fits.error());
    return loaded.value();
}

QString wrongRawSize(const QString& path, qint64 actual, PictureSize size) {
    return QStringLiteral("'%1' holds %2 bytes, but a %3x%4 plane is exactly %5 (4 bytes a pixel)")
        .arg(path)
        .arg(actual)
        .arg(size.width)
        .arg(size.height)
        .arg(size.planeBytes());
}

Result<QByteArray> readRawPlane(const QString& path, PictureSize size) {
    using Read = Result<QByteArray>;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Read::failure(QStringLiteral("cannot read '%1': %2").arg(path, file.errorString()));
    }
    // The size is checked before reading so a wrong file is not read into memory first.
    if (file.size() != size.planeBytes())
        return Read::failure(wrongRawSize(path, file.size(), size));
    QByteArray bytes = file.readAll();
    if (bytes.size() != size.planeBytes()) {
        return Read::failure(wrongRawSize(path, bytes.size(), size));
    }
    return bytes;
}

// The box's image and the engine's planes are the big allocations; they are made only
// when the memory is there.
Status prepareBox(platform::PictureBoxModel& box, PictureSize size, std::uint32_t background,
                  const QString& input) {
    const Status room = checkMemoryFor(size, availableMemoryBytes(), inputName(input));
    if (!room.ok()) return room;
    box.setBackColor(background);
    box.setOuterSizePixels(size.width, size.height);
    if (box.image().size() != QSize(size.width, size.height)) {
        return Status::failure(QStringLiteral("not enough memory for a %1x%2 picture")
                                   .arg(size.width)
                                   .arg(size.height));
    }
    return succeeded();
}

// The engine shows its own message when binding fails (it cannot have its planes); the
// runner adds it to this one.
Status bindEngine(clsASMpic& engine, platform::PictureBoxModel& box, PictureSize size) {
    engine.setPictureBox(box);
    const PixelSurface& surface = engine.surface();
    if (engine.boundBox() != &box || surface.width() != size.width ||
        surface.height() != size.height) {
        return Status::failure(
            QStringLiteral("the engine could not take the %1x%2 picture; its planes need %3 MiB")
                .arg(size.width)
                .arg(size.height)
                .arg(3 * size.planeBytes() / (1 << 20)));
    }
    return succeeded();
}

void loadPlanes(clsASMpic& engine, const QByteArray& plane) {
    PixelSurface& surface = engine.surface();
    for (const SurfacePlane p : kAllPlanes) {
        std::memcpy(surface.plane(p), plane.constData(), surface.planeBytes());
    }
    // All planes are equal now, so drawing the working plane shows what binding would.
    engine.DrawNow();
}

Status loadPicture(const FxPlan& plan, platform::PictureBoxModel& box, clsASMpic& engine) {
    const Result<QImage> picture = readPicture(plan.input, plan.largestPixels);
    if (!picture.ok()) return Status::failure(picture.error());
    const PictureSize size{picture.value().width(), picture.value().height()};
    const Status prepared = prepareBox(box, size, plan.background, plan.input);
    if (!prepared.ok()) return prepared;
    box.setPicture(picture.value());
    return bindEngine(engine, box, size);
}

Status loadRaw(const FxPlan& plan, platform::PictureBoxModel& box, clsASMpic& engine) {
    const PictureSize size = *plan.rawSize;
    const Result<QByteArray> plane = readRawPlane(plan.input, size);
    if (!plane.ok()) return Status::failure(plane.error());
    Status step = prepareBox(box, size, plan.background, plan.input);
    if (step.ok()) step = bindEngine(engine, box, size);
    if (step.ok()) loadPlanes(engine, plane.value());
    return step;
}

}  // namespace

Status loadInput(const FxPlan& plan, platform::PictureBoxModel& box, clsASMpic& engine) {
    return isRawPath(plan.input) ? loadRaw(plan, box, engine) : loadPicture(plan, box, engine);
}

}  // namespace quillon::fx
