#pragma once

#include "engine/OpCodes.h"

namespace quillon {

// The palette effects kernel's op codes.
enum class PalEffect : std::int32_t {
    RedPlus = 0,
    RedMinus = 1,
    GreenPlus = 2,
    GreenMinus = 3,
    BluePlus = 4,
    BlueMinus = 5,
    Brighten = 6,
    Darken = 7,
    RotateColoursUp = 8,
    RotateColoursDown = 9,
    Noise = 10,
    Negative = 11,
    Grey = 12,
    NearBlackToBlack = 13,
    NearWhiteToWhite = 14,
    BlackToWhite = 15,
    WhiteToBlack = 16,
    AllButWhiteToBlack = 17,
    AllButBlackToWhite = 18,
    BlackOrWhite = 19,
};

constexpr PalEffect lastOp(PalEffect) {
    return PalEffect::BlackOrWhite;
}

}  // namespace quillon
