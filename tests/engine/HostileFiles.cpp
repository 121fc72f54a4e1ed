#include "tests/engine/HostileFiles.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>
#include <QImageWriter>
#include <algorithm>

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

namespace quillon::testing {
namespace {

// A PNG chunk with a correct checksum, whatever its content.
QByteArray pngChunk(const char* type, const QByteArray& data) {
    QByteArray chunk;
    QDataStream out(&chunk, QIODevice::WriteOnly);
    out << quint32(data.size());
    out.writeRawData(type, 4);
    out.writeRawData(data.constData(), int(data.size()));
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : chunk.mid(4)) {
        crc ^= std::uint8_t(byte);
        for (int k = 0; k < 8; ++k) crc = (crc & 1) != 0 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    out << (crc ^ 0xFFFFFFFFu);
    return chunk;
}

QByteArray pngOf(quint32 width, quint32 height, const QByteArray& imageData) {
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out << width << height << quint8(8) << quint8(2) << quint8(0) << quint8(0) << quint8(0);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += pngChunk("IHDR", header);
    if (!imageData.isEmpty()) png += pngChunk("IDAT", imageData);
    return png + pngChunk("IEND", {});
}

}  // namespace

std::vector<HostileFile> pngsWithValidChecksums() {
    const QByteArray oneRow = qCompress(QByteArray(4, '\0')).mid(4);  // zlib, without Qt's size
    return {{QStringLiteral("PNG of 1 x 16777217"), pngOf(1, 16777217, oneRow)},
            {QStringLiteral("PNG without image data"), pngOf(4, 4, {})},
            {QStringLiteral("PNG of broken zlib"), pngOf(4, 4, QByteArray("\x78\x9c\xff\xff", 4))}};
}

QByteArray jpegOfScans(int scans) {
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(qRgb(90, 140, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(true);
    writer.write(picture);
    // The last scan again and again: each costs a pass over the whole picture.
    const qsizetype end = bytes.lastIndexOf("\xFF\xD9");
    const qsizetype lastScan = bytes.lastIndexOf("\xFF\xDA");
    const QByteArray scan = bytes.mid(lastScan, end - lastScan);
    const int written = int(bytes.count("\xFF\xDA"));
    return bytes.left(end) + scan.repeated(std::max(0, scans - written)) + "\xFF\xD9";
}

}  // namespace quillon::testing
