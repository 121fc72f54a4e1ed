#pragma once

#include <cstdint>

#include "platform/Gdi.h"

namespace quillon::mFilterQ {

// Runs filter `FilterNumber` (1 = sharpen) over the bitmap in place. `Progress` receives
// the percentage of rows done while the filter runs, and 100 when it has finished.
void ApplyFilter(std::int32_t FilterNumber, gdi::HBITMAP hBitmap, std::int32_t FilterParam,
                 std::int32_t& Progress);

bool FilterBusy();
std::int32_t FilterProgress();

}  // namespace quillon::mFilterQ
