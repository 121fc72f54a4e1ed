#include "tools/fx/FxInput.h"

#include <QFile>
#include <QImageReader>
#include <cstring>

#include "engine/clsASMpic.h"
#include "platform/PictureBoxModel.h"

namespace quillon::fx {
namespace {

// Enough for the largest accepted picture even when its file decodes to 8 bytes a pixel;
// the announced size is checked against the tool's own limit before decoding starts.
constexpr int kDecodeLimitMegabytes = 4096;

Status checkInputSize(const QString& path, QSize size) {
    return checkPictureSize(size.width(), size.height(), QStringLiteral("input '%1'").arg(path));
}

Result<QImage> readPicture(const QString& path) {
    using Read = Result<QImage>;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(kDecodeLimitMegabytes);
    const QSize announced = reader.size();
    if (announced.isValid()) {
        const Status fits = checkInputSize(path, announced);
        if (!fits.ok()) return Read::failure(fits.error());
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        return Read::failure(
            QStringLiteral("cannot read '%1': %2").arg(path, reader.errorString()));
    }
    const Status fits = checkInputSize(path, picture.size());
    if (!fits.ok()) return Read::failure(fits.error());
    return picture;
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

Status prepareBox(platform::PictureBoxModel& box, PictureSize size, std::uint32_t background) {
    box.setBackColor(background);
    box.setOuterSizePixels(size.width, size.height);
    if (box.image().size() != QSize(size.width, size.height)) {
        return Status::failure(QStringLiteral("not enough memory for a %1x%2 picture")
                                   .arg(size.width)
                                   .arg(size.height));
    }
    return succeeded();
}

// The engine reports its own failure while binding; this only tells the runner to stop.
Status bindEngine(clsASMpic& engine, platform::PictureBoxModel& box, PictureSize size) {
    engine.setPictureBox(box);
    const PixelSurface& surface = engine.surface();
    if (engine.boundBox() != &box || surface.width() != size.width ||
        surface.height() != size.height) {
        return Status::failure(QStringLiteral("the engine could not take the picture"));
    }
    return succeeded();
}

void loadPlanes(clsASMpic& engine, const QByteArray& plane) {
    PixelSurface& surface = engine.surface();
    for (int p = PixelSurface::kOriginal; p <= PixelSurface::kUndo; ++p) {
        std::memcpy(surface.plane(p), plane.constData(), surface.planeBytes());
    }
    // All planes are equal now, so drawing the working plane shows what binding would.
    engine.DrawNow();
}

Status loadPicture(const FxPlan& plan, platform::PictureBoxModel& box, clsASMpic& engine) {
    const Result<QImage> picture = readPicture(plan.input);
    if (!picture.ok()) return Status::failure(picture.error());
    const PictureSize size{picture.value().width(), picture.value().height()};
    const Status prepared = prepareBox(box, size, plan.background);
    if (!prepared.ok()) return prepared;
    box.setPicture(picture.value());
    return bindEngine(engine, box, size);
}

Status loadRaw(const FxPlan& plan, platform::PictureBoxModel& box, clsASMpic& engine) {
    const PictureSize size = *plan.rawSize;
    const Result<QByteArray> plane = readRawPlane(plan.input, size);
    if (!plane.ok()) return Status::failure(plane.error());
    Status step = prepareBox(box, size, plan.background);
    if (step.ok()) step = bindEngine(engine, box, size);
    if (step.ok()) loadPlanes(engine, plane.value());
    return step;
}

}  // namespace

Status loadInput(const FxPlan& plan, platform::PictureBoxModel& box, clsASMpic& engine) {
    return isRawPath(plan.input) ? loadRaw(plan, box, engine) : loadPicture(plan, box, engine);
}

}  // namespace quillon::fx
