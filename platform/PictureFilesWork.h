#pragma once

// Bounds on the work a picture file may ask of its decoder, beyond its pixels.

#include <QString>
#include <optional>

class QIODevice;

namespace quillon::platform {

// libjpeg decodes a progressive JPEG once per scan over its whole picture; a file of
// thousands of repeated scans costs minutes and gigabytes for a few megabytes on disk.
// libjpeg-turbo's own tools stop at 500 scans; so does this.
inline constexpr int kMostJpegScans = 500;

// Walks the markers of a JPEG file (from the device's position, which it restores) and
// gives the reason to refuse one with more scans than that. Anything that is not a JPEG,
// or a JPEG too damaged to walk, is left to the decoder.
std::optional<QString> jpegTooMuchWork(QIODevice& device);

}  // namespace quillon::platform
