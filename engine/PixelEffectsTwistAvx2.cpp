// The twist four column distances at a time in AVX2 registers. The distance, the angle and
// every product and sum are the baseline's double-precision steps, lane by lane. The cosine
// and sine are the one place the baseline calls the library; here a polynomial finds them
// to within a few units in the last place of a double, which rounds to the same single
// precision value unless it lies within 2^-19 of the halfway point between two single
// precision values. Lanes that close (about one in 250000) ask the library, as the baseline
// does. Compiled with -mavx2 and entered only on processors that have AVX2.

#include "engine/PixelEffectsAvx2.h"

#if defined(__AVX2__)
#include <immintrin.h>

#include <cmath>

namespace quillon::pixeleffects::avx2 {
namespace {

// θ − q·π/2 in three parts (the medium-range reduction of fdlibm): q·kPiOver2a is exact for
// the small q a twist has, and the remainder keeps its relative accuracy even where it is
// tiny.
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
constexpr double kPiOver2a = 1.57079632673412561417e+00;
constexpr double kPiOver2b = 6.07710050630396597660e-11;
constexpr double kPiOver2c = 2.02226624879595063154e-21;

// fdlibm's kernel polynomials for |x| <= π/4.
constexpr double kSin[] = {-1.66666666666666324348e-01, 8.33333333332248946124e-03,
                           -1.98412698298579493134e-04, 2.75573137070700676789e-06,
                           -2.50507602534068634195e-08, 1.58969099521155010221e-10};
constexpr double kCos[] = {4.16666666666666019037e-02, -1.38888888888741095749e-03,
                           2.48015872894767294178e-05, -2.75573143513906633035e-07,
                           2.08757232129817482790e-09, -1.13596475577881948265e-11};

using Doubles = __m256d;

Doubles add(Doubles a, Doubles b) {
    return _mm256_add_pd(a, b);
}
Doubles mul(Doubles a, Doubles b) {
    return _mm256_mul_pd(a, b);
}
Doubles all(double v) {
    return _mm256_set1_pd(v);
}

Doubles horner(const double (&c)[6], Doubles z) {
    Doubles p = all(c[5]);
    for (int k = 4; k >= 0; --k) p = add(all(c[k]), mul(z, p));
    return p;
}

struct Turn {
    Doubles cosine, sine;
};

// 64-bit lanes of ones where bit `bit` of the quadrant is set.
__m256i quadrantBit(__m256i quadrant, int bit) {
    const __m256i mask = _mm256_set1_epi64x(std::int64_t{1} << bit);
    return _mm256_cmpeq_epi64(_mm256_and_si256(quadrant, mask), mask);
}

[[gnu::always_inline]] inline Turn approximateTurn(Doubles theta) {
    const Doubles q =
        _mm256_round_pd(mul(theta, all(kTwoOverPi)), _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    Doubles x = _mm256_sub_pd(theta, mul(q, all(kPiOver2a)));
    x = _mm256_sub_pd(x, mul(q, all(kPiOver2b)));
    x = _mm256_sub_pd(x, mul(q, all(kPiOver2c)));
    const Doubles z = mul(x, x);
    const Doubles s = add(x, mul(mul(x, z), horner(kSin, z)));
    const Doubles c =
        add(_mm256_sub_pd(all(1.0), mul(all(0.5), z)), mul(mul(z, z), horner(kCos, z)));
    // θ = x + q·π/2: odd quadrants swap sine and cosine, the sine is negative in quadrants 2
    // and 3, the cosine in 1 and 2.
    const __m256i quadrant = _mm256_cvtepi32_epi64(_mm256_cvtpd_epi32(q));
    const Doubles swap = _mm256_castsi256_pd(quadrantBit(quadrant, 0));
    const __m256i next = _mm256_add_epi64(quadrant, _mm256_set1_epi64x(1));
    const Doubles sineSign =
        _mm256_castsi256_pd(_mm256_slli_epi64(_mm256_srli_epi64(quadrant, 1), 63));
    const Doubles cosineSign =
        _mm256_castsi256_pd(_mm256_slli_epi64(_mm256_srli_epi64(next, 1), 63));
    return {_mm256_xor_pd(_mm256_blendv_pd(c, s, swap), cosineSign),
            _mm256_xor_pd(_mm256_blendv_pd(s, c, swap), sineSign)};
}

// Lanes whose value lies within 2^10 units in the last place (of a double) of the halfway
// point between two single-precision values: the 29 bits a double has beyond a single's
// are then close to 1000...0.
int nearHalfway(Doubles v) {
    const __m256i beyond =
        _mm256_and_si256(_mm256_castpd_si256(v), _mm256_set1_epi64x((std::int64_t{1} << 29) - 1));
    const __m256i fromHalf = _mm256_sub_epi64(beyond, _mm256_set1_epi64x(std::int64_t{1} << 28));
    const __m256i margin = _mm256_set1_epi64x(1 << 10);
    const __m256i above = _mm256_cmpgt_epi64(fromHalf, margin);
    const __m256i below =
        _mm256_cmpgt_epi64(_mm256_sub_epi64(_mm256_setzero_si256(), margin), fromHalf);
    return _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_or_si256(above, below))) ^ 0xF;
}

// Single-precision cosine and sine, widened again, of four angles.
[[gnu::always_inline]] inline Turn turnOf(Doubles theta) {
    const Turn approximate = approximateTurn(theta);
    __m128 cosine = _mm256_cvtpd_ps(approximate.cosine);
    __m128 sine = _mm256_cvtpd_ps(approximate.sine);
    const int ask = nearHalfway(approximate.cosine) | nearHalfway(approximate.sine);
    if (ask != 0) {
        alignas(32) double angle[4];
        alignas(16) float c[4], s[4];
        _mm256_store_pd(angle, theta);
        _mm_store_ps(c, cosine);
        _mm_store_ps(s, sine);
        for (int k = 0; k < 4; ++k) {
            if ((ask >> k & 1) == 0) continue;
            c[k] = float(std::cos(angle[k]));
            s[k] = float(std::sin(angle[k]));
        }
        cosine = _mm_load_ps(c);
        sine = _mm_load_ps(s);
    }
    return {_mm256_cvtps_pd(cosine), _mm256_cvtps_pd(sine)};
}

// Lanes of ones where low < v < high.
__m256i strictlyBetween(__m256i v, std::int32_t low, std::int32_t high) {
    return _mm256_and_si256(_mm256_cmpgt_epi32(v, _mm256_set1_epi32(low)),
                            _mm256_cmpgt_epi32(_mm256_set1_epi32(high), v));
}

// Four pixels' source points, as the baseline forms them from the signed distances of each
// pixel from the centre: the mirror images use the same products negated, which is exact.
struct Products {
    Doubles dxCos, dySin, dxSin, dyCos;
};

// The source pixels of eight points given as two sets of four, one gather for all.
[[gnu::always_inline]] inline __m256i sourcePixels(const TwistRun& run, Doubles x0, Doubles y0,
                                                   Doubles x1, Doubles y1) {
    const Doubles cx = all(run.cx), cy = all(run.cy);
    const __m256i sx =
        _mm256_set_m128i(_mm256_cvtpd_epi32(add(x1, cx)), _mm256_cvtpd_epi32(add(x0, cx)));
    const __m256i sy =
        _mm256_set_m128i(_mm256_cvtpd_epi32(add(y1, cy)), _mm256_cvtpd_epi32(add(y0, cy)));
    const __m256i inside =
        _mm256_and_si256(strictlyBetween(sx, 1, run.width), strictlyBetween(sy, 1, run.height));
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i index = _mm256_add_epi32(
        _mm256_mullo_epi32(_mm256_sub_epi32(sy, one), _mm256_set1_epi32(run.width)),
        _mm256_sub_epi32(sx, one));
    return _mm256_mask_i32gather_epi32(_mm256_set1_epi32(int(run.colourX)),
                                       reinterpret_cast<const int*>(run.source), index, inside, 4);
}

// Blue, green and red of four pixels over the reserved bytes at `target`.
void storeColour(std::uint8_t* target, __m128i fresh) {
    auto* at = reinterpret_cast<__m128i*>(target);
    _mm_storeu_si128(at, _mm_blendv_epi8(_mm_loadu_si128(at), fresh, _mm_set1_epi32(0x00FFFFFF)));
}

Doubles negated(Doubles v) {
    return _mm256_xor_pd(v, all(-0.0));
}

// Row `row` (above the centre row when `above`) at distances d .. d + 3 on both sides: the
// right side's pixels in the low half, the left side's (right to left) in the high half.
[[gnu::always_inline]] inline void twistRowOfFour(const TwistRun& run, const Products& p,
                                                  std::int32_t row, bool above, std::int32_t d) {
    const Doubles dySin = above ? p.dySin : negated(p.dySin);
    const Doubles dyCos = above ? p.dyCos : negated(p.dyCos);
    std::uint8_t* line = run.target + 4 * std::size_t(run.width) * std::size_t(row - 1);
    const __m256i both =
        sourcePixels(run, _mm256_sub_pd(p.dxCos, dySin), add(p.dxSin, dyCos),
                     _mm256_sub_pd(negated(p.dxCos), dySin), add(negated(p.dxSin), dyCos));
    storeColour(line + 4 * std::size_t(run.cx + d - 1), _mm256_castsi256_si128(both));
    storeColour(line + 4 * std::size_t(run.cx - d - 4),
                _mm_shuffle_epi32(_mm256_extracti128_si256(both, 1), 0x1B));
}

// The angle of four column distances from the centre, in the baseline's steps.
[[gnu::always_inline]] inline Doubles angleOf(const TwistRun& run, Doubles dx, Doubles dy2) {
    const Doubles r = _mm256_sqrt_pd(add(mul(dx, dx), dy2));
    return mul(_mm256_div_pd(r, all(run.longerSide)), all(run.largestAngle));
}

[[gnu::always_inline]] inline void twistFour(const TwistRun& run, Doubles dx, const Turn& turn,
                                             std::int32_t d) {
    const Doubles dy = all(double(run.dy));
    const Products p{mul(dx, turn.cosine), mul(dy, turn.sine), mul(dx, turn.sine),
                     mul(dy, turn.cosine)};
    for (int j = 0; j < run.rowCount; ++j)
        twistRowOfFour(run, p, run.rows[j], run.rows[j] >= run.cy, d);
}

// Whether distances d .. last and their mirror images all lie inside.
bool fits(const TwistRun& run, std::int32_t d, std::int32_t last, std::int32_t lastDx) {
    return last <= lastDx && run.cx + last <= run.width && run.cx - last >= 1 && d >= 1;
}

}  // namespace

// Eight distances at a time while they fit, so the long chains of two turns overlap; then
// four.
std::int32_t twistColumns(const TwistRun& run, std::int32_t firstDx, std::int32_t lastDx) {
    const Doubles dy = all(double(run.dy));
    const Doubles dy2 = mul(dy, dy);
    const Doubles steps = _mm256_setr_pd(0.0, 1.0, 2.0, 3.0);
    std::int32_t d = firstDx;
    for (; fits(run, d, d + 7, lastDx); d += 8) {
        const Doubles a = add(all(double(d)), steps), b = add(a, all(4.0));
        const Turn turnA = turnOf(angleOf(run, a, dy2)), turnB = turnOf(angleOf(run, b, dy2));
        twistFour(run, a, turnA, d);
        twistFour(run, b, turnB, d + 4);
    }
    for (; fits(run, d, d + 3, lastDx); d += 4) {
        const Doubles a = add(all(double(d)), steps);
        twistFour(run, a, turnOf(angleOf(run, a, dy2)), d);
    }
    return d;
}

void turnsOfFour(const double* angles, float* cosines, float* sines) {
    const Turn turn = turnOf(_mm256_loadu_pd(angles));
    _mm_storeu_ps(cosines, _mm256_cvtpd_ps(turn.cosine));
    _mm_storeu_ps(sines, _mm256_cvtpd_ps(turn.sine));
}

}  // namespace quillon::pixeleffects::avx2

#else

// Builds without AVX2 code never take the AVX2 path; this leaves every pixel to the caller.
namespace quillon::pixeleffects::avx2 {
std::int32_t twistColumns(const TwistRun&, std::int32_t firstDx, std::int32_t) {
    return firstDx;
}
void turnsOfFour(const double*, float*, float*) {}
}  // namespace quillon::pixeleffects::avx2

#endif
