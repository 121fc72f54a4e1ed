#include "tools/fx/FxOutput.h"

#include <QFileInfo>
#include <QImageWriter>

#include "engine/clsASMpic.h"
#include "platform/core/PictureFilesOutput.h"
#include "tools/fx/FxArguments.h"

namespace quillon::fx {
namespace {

QByteArray formatOf(const QString& path) {
    return QFileInfo(path).suffix().toLower().toLatin1();
}

Status cannotWrite(const QString& path, const QString& reason) {
    return Status::failure(QStringLiteral("cannot write '%1': %2").arg(path, reason));
}

bool writeWorkingPlane(QIODevice& file, QString& reason, const clsASMpic& engine) {
    const PixelSurface& surface = engine.surface();
    if (surface.empty()) {
        reason = QStringLiteral("the engine holds no picture");
        return false;
    }
    const auto* bytes = reinterpret_cast<const char*>(surface.plane(SurfacePlane::Working));
    const qint64 size = qint64(surface.planeBytes());
    return file.write(bytes, size) == size;
}

bool writeShownPicture(QIODevice& file, QString& reason, const QString& path,
                       const clsASMpic& engine) {
    const platform::PictureBoxModel* box = engine.boundBox();
    if (box == nullptr) {
        reason = QStringLiteral("no picture box is bound");
        return false;
    }
    QImageWriter writer(&file, formatOf(path));
    if (writer.write(box->image())) return true;
    reason = writer.errorString();
    return false;
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
    const bool raw = isRawPath(path);
    const platform::WrittenFile written =
        platform::writeFileSafely(path, [&](QIODevice& file, QString& reason) {
            return raw ? writeWorkingPlane(file, reason, engine)
                       : writeShownPicture(file, reason, path, engine);
        });
    return written.ok() ? succeeded() : cannotWrite(path, written.error());
}

}  // namespace quillon::fx
