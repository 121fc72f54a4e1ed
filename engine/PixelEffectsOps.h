#pragma once

#include "engine/OpCodes.h"

namespace quillon {

// The pixel effects kernel's op codes.
enum class PixelEffect : std::int32_t {
    Smooth = 0,
    Edge = 1,
    DiagonalRelief = 2,
    Wave = 3,
    Emboss = 4,
    Twist = 5,
};

constexpr PixelEffect lastOp(PixelEffect) {
    return PixelEffect::Twist;
}

}  // namespace quillon
