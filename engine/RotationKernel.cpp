#include "engine/RotationKernel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <numbers>

#include "engine/Rounding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {
namespace {

// Pixels are handled as little-endian words: blue in the low byte, the reserved byte on top.
static_assert(std::endian::native == std::endian::little);

constexpr std::uint32_t kReservedByte = 0xFF000000u;
constexpr std::int32_t kBlendBit = 1;
constexpr std::int32_t kOriginalSourceBit = 2;
constexpr std::int32_t kLargestOpCode = 3;

// The terms fixed for the whole call. The cosine and sine are kept in single precision
// like the centre, but every per-pixel term is computed in double from them.
struct Turn {
    double cosine;
    double sine;
    double centreX;  // surface column
    double centreY;  // surface row, counted upward from the bottom row
};

Turn turnFor(std::int32_t degrees, KernelArgument a, KernelArgument b, std::uint32_t height) {
    const double theta = (std::numbers::pi / 180.0) * double(degrees);
    const double fromTop = std::bit_cast<float>(b);
    return Turn{
        .cosine = float(std::cos(theta)),
        .sine = float(std::sin(theta)),
        .centreX = std::bit_cast<float>(a),
        .centreY = float(double(height) - fromTop),
    };
}

struct Planes {
    const std::uint8_t* source;
    std::uint8_t* working;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t background;  // as a pixel word: blue, green, red, no reserved byte
};

// 0x00BBGGRR puts red in the low byte; a pixel word wants blue there.
std::uint32_t backgroundWord(std::uint32_t colour) {
    const std::uint32_t red = colour & 0xFFu, green = (colour >> 8) & 0xFFu;
    const std::uint32_t blue = (colour >> 16) & 0xFFu;
    return blue | green << 8 | red << 16;
}

inline std::size_t pixelOffset(std::uint32_t width, std::int32_t x, std::int32_t y) {
    return 4 * (std::size_t(y - 1) * width + std::size_t(x - 1));
}

inline std::uint32_t loadWord(const std::uint8_t* pixel) {
    std::uint32_t word;
    std::memcpy(&word, pixel, 4);
    return word;
}

// Writes blue, green and red; the destination keeps its own reserved byte.
inline void storeColour(std::uint8_t* pixel, std::uint32_t colour) {
    const std::uint32_t word = (loadWord(pixel) & kReservedByte) | (colour & ~kReservedByte);
    std::memcpy(pixel, &word, 4);
}

// The nearest source pixel's word, or the background when it lies outside the picture.
// A NaN or far-away point converts to INT32_MIN and so lands outside as well.
inline std::uint32_t nearestColour(const Planes& planes, double fx, double fy) {
    const std::int32_t sx = roundToInt32(fx);
    if (sx < 1 || std::uint32_t(sx) > planes.width) return planes.background;
    const std::int32_t sy = roundToInt32(fy);
    if (sy < 1 || std::uint32_t(sy) > planes.height) return planes.background;
    return loadWord(planes.source + pixelOffset(planes.width, sx, sy));
}

// The lower cell index: the floor of f, except that an exact integer n goes to whichever
// of n - 1 and n is even, because f - 0.5 is a tie there.
inline std::int32_t cellIndex(float f) {
    return roundToInt32(double(f) - 0.5);
}

#if defined(__SSE2__)
// Two horizontally neighbouring pixels as 32-bit channels (blue, green, red, reserved):
// the left one, and the right one minus the left one.
struct PixelPair {
    __m128i left;
    __m128i rise;
};

inline PixelPair loadPair(const std::uint8_t* left) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(left));
    const __m128i halves = _mm_unpacklo_epi8(bytes, zero);
    const __m128i l = _mm_unpacklo_epi16(halves, zero), r = _mm_unpackhi_epi16(halves, zero);
    return {l, _mm_sub_epi32(r, l)};
}

inline __m128i upperHalf(__m128i v) {
    return _mm_srli_si128(v, 8);
}

// The blend of the two channels held in the low halves of the pairs, each lane computed
// exactly as the plain per-channel formula would.
inline __m128i blendTwoChannels(__m128i lowLeft, __m128i lowRise, __m128i upLeft, __m128i upRise,
                                __m128d dx, __m128d dy) {
    const __m128d lower =
        _mm_add_pd(_mm_cvtepi32_pd(lowLeft), _mm_mul_pd(_mm_cvtepi32_pd(lowRise), dx));
    const __m128d upper =
        _mm_add_pd(_mm_cvtepi32_pd(upLeft), _mm_mul_pd(_mm_cvtepi32_pd(upRise), dx));
    return _mm_cvtpd_epi32(_mm_add_pd(lower, _mm_mul_pd(_mm_sub_pd(upper, lower), dy)));
}

// The blend of the 2 x 2 cell whose lower left pixel is (ix, iy). The reserved byte is
// blended along with the colours and dropped when stored.
inline std::uint32_t cellColour(const Planes& planes, std::int32_t ix, std::int32_t iy, double dx,
                                double dy) {
    const std::uint8_t* s00 = planes.source + pixelOffset(planes.width, ix, iy);
    const PixelPair lower = loadPair(s00), upper = loadPair(s00 + 4 * std::size_t(planes.width));
    const __m128d across = _mm_set1_pd(dx), up = _mm_set1_pd(dy);
    const __m128i blueGreen =
        blendTwoChannels(lower.left, lower.rise, upper.left, upper.rise, across, up);
    const __m128i redReserved =
        blendTwoChannels(upperHalf(lower.left), upperHalf(lower.rise), upperHalf(upper.left),
                         upperHalf(upper.rise), across, up);
    // Both packs saturate, which is the clamp to 0..255.
    const __m128i channels = _mm_unpacklo_epi64(blueGreen, redReserved);
    const __m128i words = _mm_packs_epi32(channels, channels);
    return std::uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}
#else
inline std::uint32_t blendChannel(int s00, int s10, int s01, int s11, double dx, double dy) {
    const double lower = s00 + (s10 - s00) * dx;
    const double upper = s01 + (s11 - s01) * dx;
    return std::uint32_t(std::clamp(roundToInt32(lower + (upper - lower) * dy), 0, 255));
}

// The blend of the 2 x 2 cell whose lower left pixel is (ix, iy).
inline std::uint32_t cellColour(const Planes& planes, std::int32_t ix, std::int32_t iy, double dx,
                                double dy) {
    const std::uint8_t* s00 = planes.source + pixelOffset(planes.width, ix, iy);
    const std::uint8_t* s01 = s00 + 4 * std::size_t(planes.width);
    return blendChannel(s00[0], s00[4], s01[0], s01[4], dx, dy) |
           blendChannel(s00[1], s00[5], s01[1], s01[5], dx, dy) << 8 |
           blendChannel(s00[2], s00[6], s01[2], s01[6], dx, dy) << 16;
}
#endif

// The bilinear blend around (fx, fy), or the background when the whole cell is not inside.
inline std::uint32_t blendedColour(const Planes& planes, double fx, double fy) {
    const float px = float(fx), py = float(fy);
    const std::int32_t ix = cellIndex(px);
    if (ix < 1 || std::uint32_t(ix) >= planes.width) return planes.background;
    const std::int32_t iy = cellIndex(py);
    if (iy < 1 || std::uint32_t(iy) >= planes.height) return planes.background;
    const float dx = float(double(px) - ix), dy = float(double(py) - iy);
    return cellColour(planes, ix, iy, dx, dy);
}

// One destination row. The terms of the row's own distance from the centre are computed
// once; the sums keep the order of the plain formula so the results are unchanged.
template <bool kBlend>
void turnRow(const Planes& planes, const Turn& turn, std::uint32_t y) {
    const double up = double(y) - turn.centreY;
    const double upCosine = up * turn.cosine, upSine = up * turn.sine;
    std::uint8_t* destination = planes.working + pixelOffset(planes.width, 1, std::int32_t(y));
    for (std::uint32_t x = 1; x <= planes.width; ++x, destination += 4) {
        const double across = double(x) - turn.centreX;
        const double fx = across * turn.cosine - upSine + turn.centreX;
        const double fy = upCosine + across * turn.sine + turn.centreY;
        storeColour(destination,
                    kBlend ? blendedColour(planes, fx, fy) : nearestColour(planes, fx, fy));
    }
}

// The source is never the working plane, so the rows may be walked in memory order.
template <bool kBlend>
void turnPlane(const Planes& planes, const Turn& turn) {
    for (std::uint32_t y = 1; y <= planes.height; ++y) turnRow<kBlend>(planes, turn, y);
}

}  // namespace

void rotationKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                    KernelPointerArgument c) {
    const std::int32_t opCode = record->opCode;
    if (opCode < 0 || opCode > kLargestOpCode) return;
    const auto width = std::uint32_t(record->width), height = std::uint32_t(record->height);
    if (width == 0 || height == 0) return;

    const int sourcePlane = (opCode & kOriginalSourceBit) != 0 ? 1 : 3;
    const Planes planes{planeStart(*record, sourcePlane), planeStart(*record, 2), width, height,
                        backgroundWord(record->colour)};
    const Turn turn = turnFor(std::int32_t(c), a, b, height);
    if ((opCode & kBlendBit) != 0) {
        turnPlane<true>(planes, turn);
    } else {
        turnPlane<false>(planes, turn);
    }
}

}  // namespace quillon
