#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace quillon::testing {

// A file as someone might try to open it, and a name that says what is wrong with it.
struct HostileFile {
    QString name;
    QByteArray bytes;
};

// A noisy 96 x 64 picture (no two rows alike, so it compresses poorly and its pixel data
// fills most of the file) written by Qt as BMP, PNG or JPEG; and a 12 x 8 GIF, which Qt
// reads but cannot write.
QByteArray encodedPicture(const char* format);

// Every format people open, each cut at its middle and 16 bytes before its end, and with
// bytes flipped at its middle and near its end: damage in the header and in the pixels.
std::vector<HostileFile> damagedPictures();

// The header of a 24-bit bitmap claiming width x height pixels, followed by 16 bytes.
QByteArray bitmapHeaderClaiming(qint32 width, qint32 height);

// A whole, valid picture of a single pixel (PNG).
QByteArray onePixelPicture();

// PNGs whose chunks are all whole and correctly summed, with content libpng refuses: a
// height beyond its limit, no image data, a broken zlib stream.
std::vector<HostileFile> pngsWithValidChecksums();

// A small progressive JPEG of the given number of scans (at least its own few), the
// last one repeated: a decoding-work bomb of a few kilobytes.
QByteArray jpegOfScans(int scans);

}  // namespace quillon::testing
