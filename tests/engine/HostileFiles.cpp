#include "tests/engine/HostileFiles.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>
#include <QImageWriter>
#include <algorithm>

namespace quillon::testing {
namespace {

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

}  // namespace

QByteArray encodedPicture(const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    noisyPicture().save(&buffer, format);
    return bytes;
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
