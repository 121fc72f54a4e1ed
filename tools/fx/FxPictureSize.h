#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

#include "tools/fx/FxResult.h"

namespace quillon::fx {

struct PictureSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int64_t planeBytes() const { return std::int64_t{4} * width * height; }
};

// The largest picture the tool takes on. A plane (4 bytes a pixel) must stay below 2 GiB,
// so every byte count fits a signed 32-bit number as the engine's plane size does; a side
// must stay within 2^24 pixels, which a single-precision size (how the box measures
// itself) still holds exactly.
constexpr std::int64_t kMaxPlaneBytes = 0x7FFFFFFF;
constexpr std::int64_t kMaxSide = std::int64_t{1} << 24;

// The most pixels a picture may have unless --max-megapixels says otherwise. The tool
// holds about 24 bytes for each pixel (the decoded picture, the box's image and the
// engine's three planes), so 100 megapixels take about 2.4 GB; the largest limit that can
// be asked for is what one plane below 2 GiB holds.
inline constexpr std::int64_t kPixelsPerMegapixel = 1000000;
inline constexpr std::int64_t kDefaultMegapixels = 100;
inline constexpr std::int64_t kMostMegapixels = kMaxPlaneBytes / 4 / kPixelsPerMegapixel + 1;

// Refuses a size that is empty or too large, naming where it came from.
Status checkPictureSize(std::int64_t width, std::int64_t height, const QString& what);

// Refuses a picture of more than `largestPixels`, saying how the limit is raised.
Status checkPixelCount(std::int64_t width, std::int64_t height, std::int64_t largestPixels,
                       const QString& what);

// Reads "WxH" (decimal) as given to --size.
Result<PictureSize> parsePictureSize(QStringView text);

}  // namespace quillon::fx
