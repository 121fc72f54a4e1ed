#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "tools/fx/FxPictureSize.h"
#include "tools/fx/FxResult.h"

namespace quillon::fx {

// What the tool holds for each pixel at the most: the decoded picture (up to 8 bytes),
// the box's image (4) and the engine's original, working and undo planes (12).
inline constexpr std::int64_t kBytesHeldPerPixel = 24;

// The memory the system can still give without swapping or killing anyone, as the kernel
// estimates it (MemAvailable); nothing where the system does not say.
std::optional<std::int64_t> availableMemoryBytes();

// Refuses a picture the tool cannot hold in `available` bytes. Checked before the big
// allocations: with overcommitted memory they would succeed, and touching their pages
// would get the process killed instead of giving it a failure it can report.
Status checkMemoryFor(PictureSize size, std::optional<std::int64_t> available, const QString& what);

}  // namespace quillon::fx
