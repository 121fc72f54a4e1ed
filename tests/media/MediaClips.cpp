#include "MediaClips.h"

#include <QColor>
#include <cmath>

namespace quillon::testing {

QString clipPath(const char* name) {
    return QStringLiteral(QUILLON_MEDIA_CLIPS "/") + QLatin1String(name);
}

int clipFrameShown(const QImage& image) {
    if (image.isNull()) return -1;
    return clipFrameOfGrey(qGreen(image.pixel(image.width() / 2, image.height() / 2)));
}

int clipFrameOfGrey(int grey) {
    return int(std::lround(grey * 219.0 / 255.0 / 4.0));
}

}  // namespace quillon::testing
