#pragma once

#include <QImage>
#include <QString>

namespace quillon::platform {

// A picture read from a file, or the reason it could not be read.
struct LoadedPicture {
    QImage picture;
    QString failure;
    bool ok() const { return !picture.isNull(); }
};

// Reads a picture in any format the image plugins know (BMP, PNG, JPEG, GIF, ...). The
// format is taken from the file's content, never from its name: grabbed frames carry
// their own extension whatever format the video control wrote them in. Pictures that
// would need more memory than a sane limit are refused before anything is allocated.
LoadedPicture loadPicture(const QString& path);

struct SavedPicture {
    bool ok = false;
    QString failure;
};

// Writes the picture as a 24-bit Windows bitmap file (any alpha is dropped), replacing
// any file of that name. The new file takes the old one's place only once it is
// complete, so a failed save leaves an existing file as it was.
SavedPicture savePictureAsBitmap(const QImage& picture, const QString& path);

}  // namespace quillon::platform
