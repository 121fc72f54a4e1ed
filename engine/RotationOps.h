#pragma once

#include "engine/OpCodes.h"

namespace quillon {

// The rotation kernel's op codes: two switches in one number, bit 0 for bilinear
// sampling, bit 1 for reading the original plane rather than the undo plane.
enum class RotationMode : std::int32_t {
    Nearest = 0,
    Bilinear = 1,
    NearestFromOriginal = 2,
    BilinearFromOriginal = 3,
};

constexpr RotationMode lastOp(RotationMode) {
    return RotationMode::BilinearFromOriginal;
}

constexpr RotationMode rotationMode(bool bilinear, bool fromOriginal) {
    return static_cast<RotationMode>((fromOriginal ? 2 : 0) + (bilinear ? 1 : 0));
}

constexpr bool isBilinear(RotationMode mode) {
    return (codeOf(mode) & 1) != 0;
}

constexpr bool readsOriginal(RotationMode mode) {
    return (codeOf(mode) & 2) != 0;
}

}  // namespace quillon
