// The sharpen filter in two steps per row. A pixel's new channel is
//   (centre · p − 2 · (its eight neighbours)) / divisor, clamped to 0..255,
// where the upper neighbours already hold their new values and the left one has just
// received its own. All but the left neighbour are known before the row starts, so that
// part is weighed for a stretch of the row at once, in SSE2 lanes where the build has
// them; then one pass along the stretch adds the left neighbour and divides, pixel after
// pixel, three channels side by side. The division is a multiply and a shift.

#include "filters/SharpenRows.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon::mFilterQ {
namespace {

constexpr std::size_t kStretch = 4096;  // pixels weighed at once

// ⌊n / d⌋ = ⌊n · m / 2^(32 + l)⌋ for every n below 2^32, with l = ⌈log2 d⌉ and
// m = ⌊2^(32 + l) / d⌋ + 1 (Granlund and Montgomery); m < 2^33 and n < 2^31 here, so the
// product fits 64 bits.
struct Reciprocal {
    std::uint64_t multiplier;
    int shift;
};

Reciprocal reciprocalOf(std::uint32_t d) {
    int l = 0;
    while ((std::uint64_t{1} << l) < d) ++l;
    return {(std::uint64_t{1} << (32 + l)) / d + 1, 32 + l};
}

// centre · p − 2 · (the seven neighbours other than the left one) for one channel.
std::int32_t weighChannel(const std::uint8_t* p, std::ptrdiff_t stride, std::int32_t centre) {
    const std::int32_t sum = p[-stride - 4] + p[-stride] + p[-stride + 4] + p[4] + p[stride - 4] +
                             p[stride] + p[stride + 4];
    return centre * p[0] - 2 * sum;
}

#if defined(__SSE2__)
// The same for four pixels, in 16-bit lanes: twice the seven neighbours is 3570 at most.
struct Halves {
    __m128i low, high;  // the channels of pixels 0 and 1, and of 2 and 3
};

Halves widened(const std::uint8_t* at) {
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    return {_mm_unpacklo_epi8(four, _mm_setzero_si128()),
            _mm_unpackhi_epi8(four, _mm_setzero_si128())};
}

Halves plus(const Halves& a, const Halves& b) {
    return {_mm_add_epi16(a.low, b.low), _mm_add_epi16(a.high, b.high)};
}

// Twice the seven neighbours other than the left one.
Halves twiceTheSeven(const std::uint8_t* p, std::ptrdiff_t stride) {
    const std::uint8_t* up = p - stride;
    const std::uint8_t* down = p + stride;
    const Halves above = plus(plus(widened(up - 4), widened(up)), widened(up + 4));
    const Halves below = plus(plus(widened(down - 4), widened(down)), widened(down + 4));
    const Halves sum = plus(plus(above, below), widened(p + 4));
    return plus(sum, sum);
}

void store(std::int32_t* at, __m128i four) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), four);
}

// The eight 16-bit values of two pixels widened to 32 bits, turned to the divisor's sign.
void storeWidened(std::int32_t* at, __m128i values, bool negate) {
    if (negate) values = _mm_sub_epi16(_mm_setzero_si128(), values);
    store(at, _mm_srai_epi32(_mm_unpacklo_epi16(values, values), 16));
    store(at + 4, _mm_srai_epi32(_mm_unpackhi_epi16(values, values), 16));
}

// A centre weight within +-112 keeps every weighed value within 16 bits (at most
// 112 · 255 + 3570 in size), so it is all 16-bit lanes.
void weighFourNarrow(const std::uint8_t* p, std::ptrdiff_t stride, std::int32_t centre, bool negate,
                     std::int32_t* out) {
    const Halves twice = twiceTheSeven(p, stride);
    const Halves self = widened(p);
    const __m128i weight = _mm_set1_epi16(std::int16_t(centre));
    storeWidened(out, _mm_sub_epi16(_mm_mullo_epi16(self.low, weight), twice.low), negate);
    storeWidened(out + 8, _mm_sub_epi16(_mm_mullo_epi16(self.high, weight), twice.high), negate);
}

// Any 16-bit centre weight: the products in 32 bits.
void storeWeighed(__m128i centre16, __m128i twiceSum16, __m128i weight, bool negate,
                  std::int32_t* out) {
    const __m128i low = _mm_mullo_epi16(centre16, weight), high = _mm_mulhi_epi16(centre16, weight);
    const __m128i zero = _mm_setzero_si128();
    __m128i first =
        _mm_sub_epi32(_mm_unpacklo_epi16(low, high), _mm_unpacklo_epi16(twiceSum16, zero));
    __m128i second =
        _mm_sub_epi32(_mm_unpackhi_epi16(low, high), _mm_unpackhi_epi16(twiceSum16, zero));
    if (negate) {
        first = _mm_sub_epi32(zero, first);
        second = _mm_sub_epi32(zero, second);
    }
    store(out, first);
    store(out + 4, second);
}

void weighFourWide(const std::uint8_t* p, std::ptrdiff_t stride, std::int32_t centre, bool negate,
                   std::int32_t* out) {
    const Halves twice = twiceTheSeven(p, stride);
    const Halves self = widened(p);
    const __m128i weight = _mm_set1_epi16(std::int16_t(centre));
    storeWeighed(self.low, twice.low, weight, negate, out);
    storeWeighed(self.high, twice.high, weight, negate, out + 8);
}
#endif

// With n the numerator turned to the divisor's sign, the truncated quotient is n / |d| when
// n > 0 and at most 0 otherwise, which the clamp makes 0. Every n here lies within 2^24, so
// n times the multiplier m (below 2^33) fits a signed 64-bit product, and for a negative n
// the arithmetic shift leaves a negative number for the clamp. The product is taken apart
// as w·m ∓ left·2m: w·m is known ahead, so from one pixel to the next only the left
// neighbour's multiply, a subtraction, the shift and the clamp remain. Everything the loop
// reads is held in locals: its byte stores could otherwise alias them.
template <bool NegativeDivisor>
struct Chain {
    std::int64_t multiplier, twiceMultiplier;
    int shift;

    std::int64_t next(std::int32_t weighed, std::int64_t left) const {
        const std::int64_t ahead = weighed * multiplier;
        const std::int64_t product =
            NegativeDivisor ? ahead + left * twiceMultiplier : ahead - left * twiceMultiplier;
        const std::int64_t q = product >> shift;
        // The upper limit by a conditional move, the lower one by masking with q's sign: both
        // start from q, so neither waits for the other, and no branch guesses at the picture.
        const std::int64_t atMost255 = q > 255 ? 255 : q;
        return atMost255 & ~(q >> 63);
    }
};

template <bool NegativeDivisor>
void chainPixels(std::uint8_t* first, std::size_t count, const std::int32_t* weighed,
                 const Chain<NegativeDivisor>& chain) {
    std::int64_t blue = first[-4], green = first[-3], red = first[-2];
    for (std::uint8_t* pixel = first; pixel != first + 4 * count; pixel += 4, weighed += 4) {
        blue = chain.next(weighed[0], blue);
        green = chain.next(weighed[1], green);
        red = chain.next(weighed[2], red);
        pixel[0] = std::uint8_t(blue);
        pixel[1] = std::uint8_t(green);
        pixel[2] = std::uint8_t(red);
    }
}

}  // namespace

bool FastSharpen::suits(std::int32_t centre, std::int32_t divisor) {
    return divisor != 0 && centre >= -32768 && centre <= 32767;
}

FastSharpen::FastSharpen(std::int32_t centre, std::int32_t divisor)
    : centre_(centre), negativeDivisor_(divisor < 0), weighed_(4 * kStretch) {
    const auto magnitude = std::uint32_t(divisor < 0 ? -std::int64_t{divisor} : divisor);
    const Reciprocal r = reciprocalOf(magnitude);
    multiplier_ = r.multiplier;
    twiceMultiplier_ = 2 * r.multiplier;
    shift_ = r.shift;
}

// The weighed channels, turned to the divisor's sign, so that the division below works on
// a numerator whose sign is the quotient's.
void FastSharpen::weigh(const std::uint8_t* first, std::ptrdiff_t stride, std::size_t count) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const auto four = centre_ >= -112 && centre_ <= 112 ? weighFourNarrow : weighFourWide;
    for (; i + 4 <= count; i += 4)
        four(first + 4 * i, stride, centre_, negativeDivisor_, weighed_.data() + 4 * i);
#endif
    for (; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            const std::int32_t w = weighChannel(first + 4 * i + c, stride, centre_);
            weighed_[4 * i + std::size_t(c)] = negativeDivisor_ ? -w : w;
        }
    }
}

void FastSharpen::chain(std::uint8_t* first, std::size_t count) {
    const auto m = std::int64_t(multiplier_), twice = std::int64_t(twiceMultiplier_);
    if (negativeDivisor_)
        return chainPixels(first, count, weighed_.data(), Chain<true>{m, twice, shift_});
    chainPixels(first, count, weighed_.data(), Chain<false>{m, twice, shift_});
}

void FastSharpen::sharpenRow(std::uint8_t* row, std::ptrdiff_t stride, std::int32_t width) {
    const std::size_t inner = width > 2 ? std::size_t(width) - 2 : 0;
    for (std::size_t done = 0; done < inner;) {
        const std::size_t count = std::min(kStretch, inner - done);
        std::uint8_t* first = row + 4 * (done + 1);
        weigh(first, stride, count);
        chain(first, count);
        done += count;
    }
}

}  // namespace quillon::mFilterQ
