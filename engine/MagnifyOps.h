#pragma once

#include "engine/OpCodes.h"

namespace quillon {

// The magnify kernel's op codes: how a mapped point takes its colour.
enum class MagnifyMode : std::int32_t {
    Nearest = 0,
    Bilinear = 1,
};

constexpr MagnifyMode lastOp(MagnifyMode) {
    return MagnifyMode::Bilinear;
}

}  // namespace quillon
