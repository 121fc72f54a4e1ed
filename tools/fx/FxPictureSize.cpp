#include "tools/fx/FxPictureSize.h"

#include "tools/fx/FxNumbers.h"

namespace quillon::fx {

Status checkPictureSize(std::int64_t width, std::int64_t height, const QString& what) {
    if (width <= 0 || height <= 0) {
        return Status::failure(
            QStringLiteral("%1: %2x%3 is empty; width and height must be positive")
                .arg(what)
                .arg(width)
                .arg(height));
    }
    if (width > kMaxSide || height > kMaxSide || 4 * width * height > kMaxPlaneBytes) {
        return Status::failure(
            QStringLiteral("%1: %2x%3 is too large (at most %4 pixels a side and %5 bytes a plane)")
                .arg(what)
                .arg(width)
                .arg(height)
                .arg(kMaxSide)
                .arg(kMaxPlaneBytes));
    }
    return succeeded();
}

Status checkPixelCount(std::int64_t width, std::int64_t height, std::int64_t largestPixels,
                       const QString& what) {
    if (width * height <= largestPixels) return succeeded();
    return Status::failure(
        QStringLiteral("%1: %2x%3 is too large: %4 megapixels, more than the limit of %5 "
                       "(raise it with --max-megapixels, at most %6)")
            .arg(what)
            .arg(width)
            .arg(height)
            .arg(double(width) * double(height) / kPixelsPerMegapixel, 0, 'f', 1)
            .arg(double(largestPixels) / kPixelsPerMegapixel, 0, 'g', 6)
            .arg(kMostMegapixels));
}

Result<PictureSize> parsePictureSize(QStringView text) {
    using Parsed = Result<PictureSize>;
    const QString what = QStringLiteral("--size");
    const qsizetype cross = text.indexOf(u'x', 0, Qt::CaseInsensitive);
    const auto width = cross < 0 ? std::nullopt : parseDecimal(text.left(cross));
    const auto height = cross < 0 ? std::nullopt : parseDecimal(text.mid(cross + 1));
    if (!width || !height) {
        return Parsed::failure(
            QStringLiteral("%1: '%2' is not a size like 640x480").arg(what, text.toString()));
    }
    const Status checked = checkPictureSize(*width, *height, what);
    if (!checked.ok()) return Parsed::failure(checked.error());
    return PictureSize{std::int32_t(*width), std::int32_t(*height)};
}

}  // namespace quillon::fx
