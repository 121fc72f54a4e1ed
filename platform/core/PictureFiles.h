#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

#include "platform/core/Outcome.h"

class QIODevice;

namespace quillon::platform {

// The most pixels a picture read by the window may have (128 megapixels): beyond any
// screen and nearly any camera, while a file whose header claims an absurd size cannot
// make the decoders take more than about a gigabyte.
inline constexpr std::int64_t kPixelsPerMegapixel = 1000000;
inline constexpr std::int64_t kLargestPicturePixels = 128 * kPixelsPerMegapixel;

// Why a picture could not be read, in the terms a user can act on.
// Why a picture could not be read. TooManyPixels: refused for its size alone, before
// decoding; TooLarge: decoding it would take more memory or time than a picture may.
enum class LoadFailure { None, Unreadable, UnsupportedFormat, Damaged, TooLarge, TooManyPixels };

// A picture read from a file, or the reason it could not be read.
using LoadedPicture = Outcome<QImage, LoadFailure>;

// Reads a picture in any format the image plugins know (BMP, PNG, JPEG, GIF, ...). The
// format is taken from the content, never from the name: grabbed frames carry their own
// extension whatever format the video control wrote them in. A picture with more than
// `largestPixels` pixels is refused from its announced size, before its pixels are
// decoded, and the decoders may allocate no more than such a picture needs. Decoders'
// complaints about damaged files become the failure text rather than console chatter.
// A JPEG that would cost too much decoding work for its size is refused before decoding.
// Called on the application's thread, the picture is decoded beside it while the window
// keeps drawing itself (user input waits).
LoadedPicture loadPicture(const QString& path, std::int64_t largestPixels = kLargestPicturePixels);
LoadedPicture loadPicture(QIODevice& device, std::int64_t largestPixels = kLargestPicturePixels);

// What Qt's decoders may allocate for one picture under that limit: a picture of
// `largestPixels` at 16 bits a channel (eight bytes a pixel), never less than 256 MB.
inline constexpr std::int64_t kDecodeBytesPerPixel = 8;
int decoderAllocationLimitMegabytes(std::int64_t largestPixels);

using SavedPicture = Outcome<Done>;

// Writes the picture as a 24-bit Windows bitmap file (any alpha is dropped), replacing
// any file of that name. The new file takes the old one's place only once it is
// complete, so a failed save leaves an existing file as it was.
SavedPicture savePictureAsBitmap(const QImage& picture, const QString& path);

}  // namespace quillon::platform
