#pragma once

#include <cstdint>
#include <optional>

namespace quillon {

// Each kernel family names its op codes in an enum of its own (PalEffectsOps.h and its
// neighbours), numbered as the kernel contract carries them in record field 6. These two
// cross between the names and the contract's integers.

// The integer a named op code travels as.
template <class Op>
constexpr std::int32_t codeOf(Op op) {
    return static_cast<std::int32_t>(op);
}

// The op code an integer names, or nothing when the family has none of that number. A
// family numbers its op codes from 0 up to the one its `lastOp` gives, without gaps.
template <class Op>
constexpr std::optional<Op> knownOp(std::int32_t code) {
    if (code < 0 || code > codeOf(lastOp(Op{}))) return std::nullopt;
    return static_cast<Op>(code);
}

}  // namespace quillon
