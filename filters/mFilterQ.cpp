#include "filters/mFilterQ.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include "filters/SharpenFilter.h"
#include "platform/core/CheckedArithmetic.h"

namespace quillon::mFilterQ {
namespace {

constexpr std::size_t kRestingBytes = 4 * 2 * 2;

// One set for the whole program: a filter call owns it from start to end.
struct ModuleState {
    bool busy = false;
    std::vector<std::uint8_t> workPixels = std::vector<std::uint8_t>(kRestingBytes);
    std::vector<std::uint8_t> refPixels = std::vector<std::uint8_t>(kRestingBytes);
    gdi::BitmapRecord description;
    gdi::BitmapInfoHeader header;
    std::int32_t progress = 0;
};

ModuleState& module() {
    static ModuleState state;
    return state;
}

// Fresh zeroed storage of exactly `bytes`; the old block is released, not kept as capacity.
void reallocate(std::vector<std::uint8_t>& array, std::size_t bytes) {
    std::vector<std::uint8_t>().swap(array);
    array.resize(bytes);
}

// Holds the module for one call and gives everything back however the call ends, an
// exception included: the bitmap leaves the context, the context goes, both arrays shrink
// to their resting size and the module is free for the next call.
class CallScope {
public:
    explicit CallScope(ModuleState& state) : state_(state) { state_.busy = true; }
    ~CallScope() {
        if (context_) gdi::SelectObject(context_.get(), previous_);
        context_.reset();
        reallocate(state_.workPixels, kRestingBytes);
        reallocate(state_.refPixels, kRestingBytes);
        state_.busy = false;
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

    gdi::HDC selectInto(gdi::HBITMAP bitmap) {
        context_ = gdi::CreateCompatibleDC(nullptr);
        previous_ = gdi::SelectObject(context_.get(), bitmap);
        return context_.get();
    }

private:
    ModuleState& state_;
    std::unique_ptr<gdi::DeviceContext> context_;
    gdi::HBITMAP previous_ = nullptr;
};

// Only a bitmap with at least one pixel can be filtered; anything else is left alone.
bool describeBitmap(gdi::HBITMAP bitmap, gdi::BitmapRecord& description) {
    const int size = int(sizeof(gdi::BitmapRecord));
    if (gdi::GetObjectA(bitmap, size, &description) != size) return false;
    return description.width > 0 && description.height > 0;
}

// Top-down rows of 32-bit pixels. The header's sizes are 32-bit fields, so a picture too
// large for them ends the call as an overflow before anything is allocated.
void describeTopDownRows(gdi::BitmapInfoHeader& header, std::int32_t width, std::int32_t height) {
    constexpr const char* kTooLarge = "filter: the picture is too large for a bitmap header";
    const std::int32_t bytes = checkedBitmapBytes(width, height, kTooLarge);
    header.size = 40;
    header.width = width;
    header.height = -height;
    header.planes = 1;
    header.bitCount = 32;
    header.compression = 0;
    header.sizeImage = std::uint32_t(bytes);
}

// Both copies must hold the whole picture; a short read would otherwise be written back
// as black rows.
bool readPixels(gdi::HDC context, gdi::HBITMAP bitmap, ModuleState& state) {
    const auto rows = unsigned(state.description.height);
    const gdi::BitmapInfoHeader* header = &state.header;
    return gdi::GetDIBits(context, bitmap, 0, rows, state.workPixels.data(), header,
                          gdi::DIB_RGB_COLORS) == int(rows) &&
           gdi::GetDIBits(context, bitmap, 0, rows, state.refPixels.data(), header,
                          gdi::DIB_RGB_COLORS) == int(rows);
}

// Filter 1 is the only one this program has; every other number leaves the pixels as read.
void runFilter(std::int32_t number, ModuleState& state, std::int32_t param,
               std::int32_t& Progress) {
    const FilterPixels pixels{state.workPixels.data(), state.description.width,
                              state.description.height};
    if (number == kSharpenFilter) SharpenFilter(pixels, {state.progress, Progress}, param);
}

}  // namespace

void ApplyFilter(std::int32_t FilterNumber, gdi::HBITMAP hBitmap, std::int32_t FilterParam,
                 std::int32_t& Progress) {
    ModuleState& state = module();
    if (state.busy) return;
    CallScope call(state);
    if (!describeBitmap(hBitmap, state.description)) return;
    const gdi::HDC context = call.selectInto(hBitmap);
    describeTopDownRows(state.header, state.description.width, state.description.height);
    const std::size_t bytes = state.header.sizeImage;
    reallocate(state.workPixels, bytes);
    reallocate(state.refPixels, bytes);
    if (!readPixels(context, hBitmap, state)) return;
    runFilter(FilterNumber, state, FilterParam, Progress);
    gdi::SetDIBits(context, hBitmap, 0, unsigned(state.description.height), state.workPixels.data(),
                   &state.header, gdi::DIB_RGB_COLORS);
}

bool FilterBusy() {
    return module().busy;
}

std::int32_t FilterProgress() {
    return module().progress;
}

std::span<const std::uint8_t> WorkPixels() {
    return module().workPixels;
}

std::span<const std::uint8_t> RefPixels() {
    return module().refPixels;
}

}  // namespace quillon::mFilterQ
