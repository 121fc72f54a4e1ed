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

// Refuses a size that is empty or too large, naming where it came from.
Status checkPictureSize(std::int64_t width, std::int64_t height, const QString& what);

// Reads "WxH" (decimal) as given to --size.
Result<PictureSize> parsePictureSize(QStringView text);

}  // namespace quillon::fx
