#include "engine/MagnifyKernel.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <limits>

#include "engine/Rounding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {
namespace {

static_assert(std::endian::native == std::endian::little,
              "pixels are handled as 32-bit words with blue in the low byte");

constexpr std::int32_t kNearest = 0;
constexpr std::int32_t kBilinear = 1;
constexpr std::uint32_t kColourBytes = 0x00FFFFFF;  // blue, green, red; not the reserved byte

// One axis of the mapping from destination back to source: p -> (p - centre) * step +
// centre, in double precision. The same expression serves columns and rows.
struct AxisMap {
    double centre;
    double step;
    double at(std::int32_t p) const { return (double(p) - centre) * step + centre; }
};

// The source step per destination pixel, 1 / (c / 10) in single precision. A factor of
// 0 makes it infinite; it is written out so no division by zero is ever made, and every
// mapped point then becomes infinite or NaN and lands outside the picture.
float sourceStep(std::int32_t tenths) {
    if (tenths == 0) return std::numeric_limits<float>::infinity();
    return float(1.0 / (double(tenths) / 10.0));
}

// The two planes the kernel works on, with row access by 1-based surface row.
struct Planes {
    const std::uint8_t* source;
    std::uint8_t* destination;
    std::int32_t width;
    std::int32_t height;

    std::size_t rowOffset(std::int32_t y) const {
        return std::size_t{4} * std::size_t(width) * std::size_t(y - 1);
    }
    const std::uint8_t* sourceRow(std::int32_t y) const { return source + rowOffset(y); }
    std::uint8_t* destinationRow(std::int32_t y) const { return destination + rowOffset(y); }
};

inline std::uint32_t loadWord(const std::uint8_t* pixel) {
    std::uint32_t word;
    std::memcpy(&word, pixel, 4);
    return word;
}

// Writes blue, green and red of `colour` (a pixel word) and keeps the reserved byte.
inline void storeColour(std::uint8_t* pixel, std::uint32_t colour) {
    const std::uint32_t word = (loadWord(pixel) & ~kColourBytes) | (colour & kColourBytes);
    std::memcpy(pixel, &word, 4);
}

// 0x00BBGGRR as the pixel word blue, green, red.
std::uint32_t backgroundWord(std::uint32_t colour) {
    const std::uint32_t blue = (colour >> 16) & 0xFF, green = (colour >> 8) & 0xFF;
    const std::uint32_t red = colour & 0xFF;
    return blue | green << 8 | red << 16;
}

void fillRow(std::uint8_t* row, std::int32_t width, std::uint32_t background) {
    for (std::int32_t x = 0; x < width; ++x) storeColour(row + 4 * std::size_t(x), background);
}

void nearestPass(const Planes& planes, const AxisMap& columns, const AxisMap& rows,
                 std::uint32_t background) {
    const std::int32_t w = planes.width, h = planes.height;
    for (std::int32_t y = 1; y <= h; ++y) {
        std::uint8_t* out = planes.destinationRow(y);
        const std::int32_t sy = roundToInt32(rows.at(y));
        if (sy < 1 || sy > h) {
            fillRow(out, w, background);
            continue;
        }
        const std::uint8_t* in = planes.sourceRow(sy);
        for (std::int32_t x = 1; x <= w; ++x, out += 4) {
            const std::int32_t sx = roundToInt32(columns.at(x));
            const bool inside = sx >= 1 && sx <= w;
            storeColour(out, inside ? loadWord(in + 4 * std::size_t(sx - 1)) : background);
        }
    }
}

// Where a mapped coordinate falls between two source pixels for the blend: the lower
// one of the pair (ties of f - 0.5 go to even, so a whole odd f takes the pixel below)
// and how far past it the point lies, rounded to single precision.
struct BlendCell {
    std::int32_t lower;
    double fraction;
};

// False when the pair would reach past either end of an axis of `extent` pixels.
inline bool blendCell(double mapped, std::int32_t extent, BlendCell& cell) {
    const float f = float(mapped);
    cell.lower = roundToInt32(double(f) - 0.5);
    if (cell.lower < 1 || cell.lower >= extent) return false;
    cell.fraction = double(float(double(f) - double(cell.lower)));
    return true;
}

#if defined(__SSE2__)

// The blend of the four pixels around the point, two channels at a time: blue and green
// share one pair of double lanes, red (with the reserved byte, which is dropped) the
// other. Each lane runs the same double operations, in the same order, as the plain
// version below, and the saturating packs clamp exactly as it does.
inline std::uint32_t blendedPixel(const std::uint8_t* lower, const std::uint8_t* upper,
                                  const BlendCell& column, double dy) {
    const std::size_t left = 4 * std::size_t(column.lower - 1);
    const __m128i zero = _mm_setzero_si128();
    const auto widenPair = [zero](const std::uint8_t* pair) {
        return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pair)), zero);
    };
    const __m128i ab = widenPair(lower + left), cd = widenPair(upper + left);
    const __m128i a = _mm_unpacklo_epi16(ab, zero), b = _mm_unpackhi_epi16(ab, zero);
    const __m128i c = _mm_unpacklo_epi16(cd, zero), d = _mm_unpackhi_epi16(cd, zero);
    const auto low = [](__m128i v) { return _mm_cvtepi32_pd(v); };
    const auto high = [](__m128i v) { return _mm_cvtepi32_pd(_mm_shuffle_epi32(v, 0x0E)); };
    const auto lerp = [](__m128d p, __m128d q, __m128d t) {
        return _mm_add_pd(p, _mm_mul_pd(_mm_sub_pd(q, p), t));
    };
    const __m128d dxs = _mm_set1_pd(column.fraction), dys = _mm_set1_pd(dy);
    const __m128d blueGreen = lerp(lerp(low(a), low(b), dxs), lerp(low(c), low(d), dxs), dys);
    const __m128d red = lerp(lerp(high(a), high(b), dxs), lerp(high(c), high(d), dxs), dys);
    const __m128i rounded = _mm_unpacklo_epi64(_mm_cvtpd_epi32(blueGreen), _mm_cvtpd_epi32(red));
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(rounded, zero), zero);
    return std::uint32_t(_mm_cvtsi128_si32(bytes));
}

#else

inline std::uint32_t blendChannel(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                  std::uint32_t d, double dx, double dy) {
    const double top = double(a) + (double(b) - double(a)) * dx;
    const double bottom = double(c) + (double(d) - double(c)) * dx;
    const std::int32_t v = roundToInt32(top + (bottom - top) * dy);
    return std::uint32_t(std::max(std::min(v, 255), 0));
}

// `lower` and `upper` are the source rows iy and iy + 1.
inline std::uint32_t blendedPixel(const std::uint8_t* lower, const std::uint8_t* upper,
                                  const BlendCell& column, double dy) {
    const std::size_t left = 4 * std::size_t(column.lower - 1);
    const std::uint32_t quad[4] = {loadWord(lower + left), loadWord(lower + left + 4),
                                   loadWord(upper + left), loadWord(upper + left + 4)};
    std::uint32_t pixel = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const auto channel = [shift](std::uint32_t word) { return (word >> shift) & 0xFF; };
        pixel |= blendChannel(channel(quad[0]), channel(quad[1]), channel(quad[2]),
                              channel(quad[3]), column.fraction, dy)
                 << shift;
    }
    return pixel;
}

#endif

void bilinearPass(const Planes& planes, const AxisMap& columns, const AxisMap& rows,
                  std::uint32_t background) {
    const std::int32_t w = planes.width, h = planes.height;
    for (std::int32_t y = 1; y <= h; ++y) {
        std::uint8_t* out = planes.destinationRow(y);
        BlendCell row{};
        if (!blendCell(rows.at(y), h, row)) {
            fillRow(out, w, background);
            continue;
        }
        const std::uint8_t* lower = planes.sourceRow(row.lower);
        const std::uint8_t* upper = planes.sourceRow(row.lower + 1);
        for (std::int32_t x = 1; x <= w; ++x, out += 4) {
            BlendCell column{};
            const bool inside = blendCell(columns.at(x), w, column);
            storeColour(out,
                        inside ? blendedPixel(lower, upper, column, row.fraction) : background);
        }
    }
}

}  // namespace

void magnifyKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                   KernelPointerArgument c) {
    const KernelParameterRecord fields = *record;
    if (fields.opCode != kNearest && fields.opCode != kBilinear) return;
    if (fields.width < 1 || fields.height < 1) return;

    const double step = sourceStep(std::int32_t(c));
    // The centre row arrives counted from the top; surface rows count from the bottom.
    const float centreRow = float(double(fields.height) - double(std::bit_cast<float>(b)));
    const AxisMap columns{double(std::bit_cast<float>(a)), step};
    const AxisMap rows{double(centreRow), step};
    const Planes planes{planeStart(fields, 3), planeStart(fields, 2), fields.width, fields.height};
    const std::uint32_t background = backgroundWord(fields.colour);

    if (fields.opCode == kNearest) {
        nearestPass(planes, columns, rows, background);
    } else {
        bilinearPass(planes, columns, rows, background);
    }
}

}  // namespace quillon
