#pragma once

#include <cstdint>

namespace quillon::mFilterQ {

// The pixels a filter works on in place: `height` rows of `width` pixels, the top row
// first, four bytes a pixel (blue, green, red, reserved) and no gap between rows.
struct FilterPixels {
    std::uint8_t* bytes = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Where a filter reports the share of rows done: the module's own value and the caller's
// variable.
struct FilterProgressTargets {
    std::int32_t& module;
    std::int32_t& caller;
};

// Filter number 1: pushes every inner pixel away from the sum of its eight neighbours,
// with centre weight s + 24, neighbour weight -2 and divisor s + 8. The work is in place
// in scan order, so the upper and left neighbours already hold their new values. Lets
// pending events run after every row. An overflow or a divisor of 0 throws, leaving the
// pixels part-way.
void SharpenFilter(const FilterPixels& pixels, FilterProgressTargets progress, std::int32_t s);

}  // namespace quillon::mFilterQ
