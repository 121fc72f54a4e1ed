#include "tools/fx/FxOutput.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include "engine/clsASMpic.h"
#include "tools/fx/FxArguments.h"

namespace quillon::fx {
namespace {

QByteArray formatOf(const QString& path) {
    return QFileInfo(path).suffix().toLower().toLatin1();
}

Status cannotWrite(const QString& path, const QString& reason) {
    return Status::failure(QStringLiteral("cannot write '%1': %2").arg(path, reason));
}

Status commit(QSaveFile& file, const QString& path) {
    if (!file.commit()) return cannotWrite(path, file.errorString());
    return succeeded();
}

Status writeWorkingPlane(QSaveFile& file, const QString& path, const clsASMpic& engine) {
    const PixelSurface& surface = engine.surface();
    if (surface.empty()) return cannotWrite(path, QStringLiteral("the engine holds no picture"));
    const auto* bytes = reinterpret_cast<const char*>(surface.plane(PixelSurface::kWorking));
    const qint64 size = qint64(surface.planeBytes());
    if (file.write(bytes, size) != size) {
        file.cancelWriting();
        return cannotWrite(path, file.errorString());
    }
    return commit(file, path);
}

Status writeShownPicture(QSaveFile& file, const QString& path, const clsASMpic& engine) {
    const platform::PictureBoxModel* box = engine.boundBox();
    if (box == nullptr) return cannotWrite(path, QStringLiteral("no picture box is bound"));
    QImageWriter writer(&file, formatOf(path));
    if (!writer.write(box->image())) {
        file.cancelWriting();
        return cannotWrite(path, writer.errorString());
    }
    return commit(file, path);
}

}  // namespace

Status checkOutputFormat(const QString& path) {
    if (isRawPath(path)) return succeeded();
    const QByteArray format = formatOf(path);
    if (format.isEmpty()) {
        return Status::failure(
            QStringLiteral("output '%1' has no ending to tell its picture format").arg(path));
    }
    if (!QImageWriter::supportedImageFormats().contains(format)) {
        return Status::failure(QStringLiteral("output '%1': cannot write pictures of format '%2'")
                                   .arg(path, QString::fromLatin1(format)));
    }
    return succeeded();
}

Status writeOutput(const QString& path, const clsASMpic& engine) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return cannotWrite(path, file.errorString());
    return isRawPath(path) ? writeWorkingPlane(file, path, engine)
                           : writeShownPicture(file, path, engine);
}

}  // namespace quillon::fx
