#include "tests/engine/HostileFiles.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>

namespace quillon::testing {
namespace {

const QByteArray kGif = QByteArray::fromBase64(
    "R0lGODlhDAAIAPf/MQAAAAAA/wCE/QD/4QD//wb/ABT/SYYA+cT+AP72AP8AAP8Aff8A//9CAP//////////"
    "////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////////////////////////////////////////////////////"
    "////////////////////////////////////wD/ACH/C05FVFNDQVBFMi4wAwEAAAAh+QQFAAAPACwAAAAADAAI"
    "AIMAAAAAAP8AhP0A/+EA//8G/wAU/0mGAPnE/gD+9gD/AAD/AH3/AP//QgD///8A/wAIRgABAFBQgEGABAkKEC"
    "DgQKACBgYRFlDAUCABiAcTKlDQEMDFiBo5WsQocWPHjxknclTQIAGCAgYICAhwgMEClglhyqRpMyAAOw==");

QImage noisyPicture() {
    QImage picture(96, 64, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            picture.setPixel(x, y, qRgb(x * 2, y * 3, int(state >> 24)));
        }
    }
    return picture;
}

QByteArray flipped(QByteArray bytes, qsizetype at) {
    for (qsizetype i = at; i < at + 8 && i < bytes.size(); ++i) bytes[i] = char(bytes[i] ^ 0x5A);
    return bytes;
}

void addDamaged(std::vector<HostileFile>& files, const QString& format, const QByteArray& whole) {
    const qsizetype size = whole.size();
    files.push_back({format + QStringLiteral(" cut in half"), whole.left(size / 2)});
    files.push_back({format + QStringLiteral(" cut 16 bytes short"), whole.left(size - 16)});
    files.push_back({format + QStringLiteral(" flipped in the middle"), flipped(whole, size / 2)});
    files.push_back({format + QStringLiteral(" flipped near the end"), flipped(whole, size - 24)});
}

}  // namespace

QByteArray encodedPicture(const char* format) {
    if (qstrcmp(format, "GIF") == 0) return kGif;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    noisyPicture().save(&buffer, format);
    return bytes;
}

std::vector<HostileFile> damagedPictures() {
    std::vector<HostileFile> files;
    for (const char* format : {"BMP", "PNG", "JPEG", "GIF"})
        addDamaged(files, QString::fromLatin1(format), encodedPicture(format));
    return files;
}

QByteArray bitmapHeaderClaiming(qint32 width, qint32 height) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(54 + 16) << quint32(0) << quint32(54);
    out << quint32(40) << width << height << quint16(1) << quint16(24);
    out << quint32(0) << quint32(0) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
    out << quint64(0) << quint64(0);
    return bytes;
}

QByteArray onePixelPicture() {
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(qRgb(200, 100, 50));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    pixel.save(&buffer, "PNG");
    return bytes;
}

}  // namespace quillon::testing
