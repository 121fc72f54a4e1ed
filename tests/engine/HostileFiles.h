#pragma once

#include <QByteArray>

namespace quillon::testing {

// A noisy 96 x 64 picture (no two rows alike, so it compresses poorly and its pixel data
// fills most of the file) written by Qt in the given format.
QByteArray encodedPicture(const char* format);

// The header of a 24-bit bitmap claiming width x height pixels, followed by 16 bytes.
QByteArray bitmapHeaderClaiming(qint32 width, qint32 height);

// A small progressive JPEG of the given number of scans (at least its own few), the
// last one repeated: a decoding-work bomb of a few kilobytes.
QByteArray jpegOfScans(int scans);

}  // namespace quillon::testing
