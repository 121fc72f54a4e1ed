#include "platform/PictureFiles.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace quillon::platform {
namespace {

// Room for pictures far beyond any screen, while a header that claims an absurd size
// cannot make the reader ask for gigabytes.
constexpr int kAllocationLimitMegabytes = 1024;

}  // namespace

LoadedPicture loadPicture(const QString& path) {
    if (QFileInfo(path).isDir()) return {QImage(), QStringLiteral("%1 is a directory").arg(path)};
    QImageReader::setAllocationLimit(kAllocationLimitMegabytes);
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage picture = reader.read();
    if (picture.isNull()) return {QImage(), reader.errorString()};
    return {std::move(picture), QString()};
}

SavedPicture savePictureAsBitmap(const QImage& picture, const QString& path) {
    if (picture.isNull()) return {false, QStringLiteral("There is no picture to save")};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {false, file.errorString()};
    QImageWriter writer(&file, "bmp");
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB32))) {
        file.cancelWriting();
        return {false, writer.errorString()};
    }
    if (!file.commit()) return {false, file.errorString()};
    return {true, QString()};
}

}  // namespace quillon::platform
