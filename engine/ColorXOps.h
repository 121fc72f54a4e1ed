#pragma once

#include "engine/OpCodes.h"

namespace quillon {

// The colour X kernel's op codes. The kernel draws the ring for every number outside
// 0 to 8, the operation only for 9.
enum class ColorXEffect : std::int32_t {
    RandomDots = 0,
    HorizontalLines = 1,
    VerticalLines = 2,
    DotLattice = 3,
    Glow = 4,
    StreakUp = 5,
    StreakDown = 6,
    StreakLeft = 7,
    StreakRight = 8,
    Ring = 9,
};

constexpr ColorXEffect lastOp(ColorXEffect) {
    return ColorXEffect::Ring;
}

}  // namespace quillon
