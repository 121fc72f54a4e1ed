#include "app/adjustments/ColourStretch.h"

#include <cmath>

#include "app/adjustments/BoxPixelScan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {
namespace {

constexpr std::uint32_t kBrightLimit = 205;
constexpr std::uint32_t kOpaque = 0xFF000000u;

// value - value x share in double precision, rounded to the nearest whole number with
// halves going to the even one (255 gives 178.5 and so 178).
std::uint8_t lowered(std::uint32_t value, double share) {
    return std::uint8_t(std::nearbyint(double(value) - double(value) * share));
}

// What a channel's byte becomes when that channel is the one to come down, made once with
// `lowered` itself; bytes up to the limit stay.
struct Lowering {
    std::uint8_t byThreeTenths[256];
    std::uint8_t byTwoTenths[256];
};

const Lowering& lowering() {
    static const Lowering table = [] {
        Lowering t{};
        for (std::uint32_t v = 0; v < 256; ++v) {
            t.byThreeTenths[v] = v > kBrightLimit ? lowered(v, 0.3) : std::uint8_t(v);
            t.byTwoTenths[v] = v > kBrightLimit ? lowered(v, 0.2) : std::uint8_t(v);
        }
        return t;
    }();
    return table;
}

// Only the first channel above the limit, in the order red, green, blue, comes down. Every
// pixel's channels compose, so every pixel is written back, opaque.
std::uint32_t stretched(std::uint32_t argb, const Lowering& t) {
    const std::uint32_t r = argb >> 16 & 0xFF, g = argb >> 8 & 0xFF, b = argb & 0xFF;
    if (r > kBrightLimit) return kOpaque | std::uint32_t(t.byThreeTenths[r]) << 16 | g << 8 | b;
    if (g > kBrightLimit) return kOpaque | r << 16 | std::uint32_t(t.byTwoTenths[g]) << 8 | b;
    return kOpaque | r << 16 | g << 8 | t.byThreeTenths[b];
}

// Four pixels at a time where none of their channels passes the limit, which in a photo is
// most of them: they only become opaque.
int darkFours(std::uint32_t* row, int width) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i limit = _mm_set1_epi8(char(kBrightLimit)), colour = _mm_set1_epi32(0x00FFFFFF);
    const __m128i opaque = _mm_set1_epi32(int(kOpaque));
    for (; x + 4 <= width; x += 4) {
        auto* four = reinterpret_cast<__m128i*>(row + x);
        const __m128i pixels = _mm_loadu_si128(four);
        const __m128i above = _mm_and_si128(_mm_subs_epu8(pixels, limit), colour);
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(above, _mm_setzero_si128())) != 0xFFFF) break;
        _mm_storeu_si128(four, _mm_or_si128(pixels, opaque));
    }
#else
    (void)row;
    (void)width;
#endif
    return x;
}

// The column past the right edge and the row past the bottom read the invalid colour,
// whose red is -1: it lowers nothing, and cannot be composed, so it is left out.
void stretchRow(std::uint32_t* row, int width) {
    const Lowering& t = lowering();
    for (int x = 0; x < width;) {
        x += darkFours(row + x, width - x);
        const int stop = x + 4 < width ? x + 4 : width;
        for (; x < stop; ++x) row[x] = stretched(row[x], t);
    }
}

}  // namespace

void ColourStretch(platform::PictureBoxModel& box) {
    adjustments::forEachBoxRow(box, stretchRow);
    box.refresh();
}

}  // namespace quillon
