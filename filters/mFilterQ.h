#pragma once

#include <cstdint>
#include <span>

#include "platform/core/Gdi.h"

namespace quillon::mFilterQ {

// The one filter this program has, and the damping s its "Sharpen" runs it with (see
// SharpenFilter).
inline constexpr std::int32_t kSharpenFilter = 1;
inline constexpr std::int32_t kSharpenDamping = 2;

// Runs filter `FilterNumber` (kSharpenFilter) over the bitmap in place. `Progress` receives
// the percentage of rows done while the filter runs, and 100 when it has finished.
//
// The filter lets pending events run after every row; a call made from one of them while
// another call is under way returns at once and touches nothing, `Progress` included.
// Other filter numbers write the pixels back unchanged. A handle without a bitmap, or a
// bitmap without pixels, is left alone. An overflow in the header or the filter's
// arithmetic throws; the bitmap then keeps its pixels and the module is free again.
void ApplyFilter(std::int32_t FilterNumber, gdi::HBITMAP hBitmap, std::int32_t FilterParam,
                 std::int32_t& Progress);

// Whether a call is under way.
bool FilterBusy();
// The percentage of rows done by the running filter, or by the last one.
std::int32_t FilterProgress();

// The module's pixel arrays, the top row first and four bytes a pixel: picture-sized
// while a call runs, 4 x 2 x 2 bytes between calls. For watching a call from its pauses.
std::span<const std::uint8_t> WorkPixels();
std::span<const std::uint8_t> RefPixels();

}  // namespace quillon::mFilterQ
