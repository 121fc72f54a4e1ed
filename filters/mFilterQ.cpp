#include "filters/mFilterQ.h"

namespace quillon::mFilterQ {

// Not written yet.
void ApplyFilter(std::int32_t, gdi::HBITMAP, std::int32_t, std::int32_t&) {}
bool FilterBusy() { return false; }
std::int32_t FilterProgress() { return 0; }

}  // namespace quillon::mFilterQ
