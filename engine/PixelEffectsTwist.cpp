// The twist: every pixel takes the undo-plane pixel found by turning it about the centre
// (W div 2, H div 2) by an angle that grows linearly with its distance from the centre.
// Source points on or beyond the outer ring of the picture give colour X.
//
// Precision: every floating-point step is carried in double precision - the distance,
// the angle, the four products dx·co, dy·si, dx·si, dy·co and the sums. Only the values
// held in single precision are rounded to it, where they are stored: the largest angle,
// and the cosine and sine of each angle. They are widened again, exactly, to enter the
// products; a single (24 bits) times an offset below 2^29 is exact in double, so past
// the cosine and sine the only roundings are those of the additions.
//
// The vector columns are written once on Highway and compiled for every target the build
// keeps (engine/CMakeLists.txt); the plain columns do the centre and the picture's edges.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/PixelEffectsTwist.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/PixelEffectsKernel.h"
#include "engine/PixelWords.h"
#include "engine/Rounding.h"

// The plain code is compiled once, however many targets include this file.
#ifndef QUILLON_PIXELEFFECTS_TWIST_PLAIN
#define QUILLON_PIXELEFFECTS_TWIST_PLAIN
namespace quillon::pixeleffects {
namespace {

float largestAngle(std::int32_t amount) {
    constexpr double pi = std::numbers::pi;
    switch (amount) {
        case 1:
            return float(pi / 2);
        case 2:
            return float(pi);
        case 4:
            return float(3 * pi / 2);
        default:
            return float(2 * pi);
    }
}

// float(std::cos(θ)) and float(std::sin(θ)), widened again.
struct Turn {
    double co, si;

    explicit Turn(double theta) : co(float(std::cos(theta))), si(float(std::sin(theta))) {}
};

struct Twist {
    PlaneView planes;
    std::int32_t cx, cy;
    double m;         // the longer side
    double maxAngle;  // single-precision value, widened
    std::uint32_t colourX;

    Twist(const PlaneView& view, std::int32_t amount, std::uint32_t colour)
        : planes(view),
          cx(view.width / 2),
          cy(view.height / 2),
          m(double(std::max(view.width, view.height))),
          maxAngle(double(largestAngle(amount))),
          colourX(colourAsPixel(colour)) {}

    // Depends on the distance alone, so the four points (cx ± dx, cy ± dy) share it.
    Turn turnAt(std::int32_t dx, std::int32_t dy) const {
        const double r = std::sqrt(double(dx) * double(dx) + double(dy) * double(dy));
        return Turn((r / m) * maxAngle);
    }

    void pixel(std::int32_t x, std::int32_t y, Turn turn) const {
        const double dx = x - cx, dy = y - cy;
        std::uint8_t* target = planes.target + planes.rowOffset(y) + columnOffset(x);
        const std::int32_t sx = roundToInt32(dx * turn.co - dy * turn.si + cx);
        const std::int32_t sy = roundToInt32(dx * turn.si + dy * turn.co + cy);
        // A value that does not convert gives the most negative integer: outside too.
        if (sx <= 1 || sx >= planes.width || sy <= 1 || sy >= planes.height) {
            storeKeepingReserved(target, colourX);
            return;
        }
        const std::uint8_t* source = planes.source + planes.rowOffset(sy) + columnOffset(sx);
        storeKeepingReserved(target, loadPixel(source));
    }
};

// The one or two lines at distance d from the centre line c that lie in 1..extent.
struct LinePair {
    std::int32_t line[2] = {};
    int count = 0;

    LinePair(std::int32_t c, std::int32_t d, std::int32_t extent) {
        if (c + d >= 1 && c + d <= extent) line[count++] = c + d;
        if (d > 0 && c - d >= 1) line[count++] = c - d;
    }
};

// How far from the centre line c the lines 1..extent reach.
std::int32_t reach(std::int32_t c, std::int32_t extent) {
    return std::max(extent - c, c - 1);
}

// The pixels at distances dx and dy (each in first..last) from the centre lines, with
// their mirror images.
struct Block {
    std::int32_t firstDx, lastDx, firstDy, lastDy;
};

// Rows and columns are taken in mirrored pairs about the centre, so each cosine and sine
// serves up to four pixels; every pixel is still written exactly once. The pairs go in
// small square blocks: the source points of a block lie close together too, so their rows
// stay in the cache while the block is done.
template <class DoBlock>
void forEachBlock(const Twist& twist, const DoBlock& doBlock) {
    constexpr std::int32_t kBlock = 32;
    const std::int32_t reachX = reach(twist.cx, twist.planes.width);
    const std::int32_t reachY = reach(twist.cy, twist.planes.height);
    for (std::int32_t firstDy = 0, lastDy = 0; firstDy <= reachY; firstDy = lastDy + 1) {
        lastDy = firstDy + std::min(kBlock - 1, reachY - firstDy);
        for (std::int32_t firstDx = 0, lastDx = 0; firstDx <= reachX; firstDx = lastDx + 1) {
            lastDx = firstDx + std::min(kBlock - 1, reachX - firstDx);
            doBlock(Block{firstDx, lastDx, firstDy, lastDy});
        }
    }
}

// The one or two pixels of each row at column distance dx from the centre.
void twistColumn(const Twist& twist, const LinePair& rows, std::int32_t dy, std::int32_t dx) {
    const LinePair columns(twist.cx, dx, twist.planes.width);
    if (columns.count == 0) return;
    const Turn turn = twist.turnAt(dx, dy);
    for (int j = 0; j < rows.count; ++j) {
        for (int i = 0; i < columns.count; ++i) twist.pixel(columns.line[i], rows.line[j], turn);
    }
}

// The vector columns find source pixels by 32-bit byte offsets into the undo plane.
bool offsetsFit(const PlaneView& planes) {
    return std::int64_t{planes.width} * planes.height < (std::int64_t{1} << 29);
}

}  // namespace
}  // namespace quillon::pixeleffects
#endif

HWY_BEFORE_NAMESPACE();
namespace quillon::pixeleffects::HWY_NAMESPACE {
namespace {
namespace hn = hwy::HWY_NAMESPACE;

// One row pair at one distance from the centre row.
struct RowPair {
    const Twist& twist;
    const LinePair& rows;
    std::int32_t dy;
};

// The one-lane target gains nothing from vectors, and has no vectors twice as long.
#if HWY_HAVE_FLOAT64 && HWY_TARGET != HWY_SCALAR

// The vector columns find the cosine and sine with a polynomial to within a few units in
// the last place of a double, which rounds to the same single-precision value as the
// library's unless it lies within 2^-19 of the halfway point between two single-precision
// values. Lanes that close (about one in 250000) ask the library, as the plain columns do.

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

// A double of 2^52 or more has no bits below the units.
constexpr double kUnitsOnly = 4503599627370496.0;

using Doubles = hn::ScalableTag<double>;
using DoubleVec = hn::Vec<Doubles>;
using Words = hn::RebindToUnsigned<Doubles>;      // the doubles' bits
using SignedWords = hn::RebindToSigned<Doubles>;  // the same, signed
using Singles = hn::Rebind<float, Doubles>;
using Ints = hn::Rebind<std::int32_t, Doubles>;
using Pixels = hn::Rebind<std::uint32_t, Doubles>;
using PixelVec = hn::Vec<Pixels>;
using BothInts = hn::Twice<Ints>;  // for both sides of the centre column
using BothSides = hn::Twice<Pixels>;

constexpr std::size_t kMaxLanes = HWY_MAX_BYTES / sizeof(double);

DoubleVec all(double v) {
    return hn::Set(Doubles(), v);
}

DoubleVec horner(const double (&c)[6], DoubleVec z) {
    DoubleVec p = all(c[5]);
    for (int k = 4; k >= 0; --k) p = hn::Add(all(c[k]), hn::Mul(z, p));
    return p;
}

struct Turns {
    DoubleVec cosine, sine;
};

// Bit 1 of each lane's word in the sign bit.
DoubleVec signOfBitOne(hn::Vec<Words> words) {
    return hn::BitCast(Doubles(), hn::ShiftLeft<63>(hn::ShiftRight<1>(words)));
}

// Angles are never negative, so adding 2^52 rounds θ·2/π to the nearest integer q, halves to
// even, and leaves q in the low bits of the sum.
HWY_INLINE Turns approximateTurns(DoubleVec theta) {
    const DoubleVec units = hn::Add(hn::Mul(theta, all(kTwoOverPi)), all(kUnitsOnly));
    const DoubleVec q = hn::Sub(units, all(kUnitsOnly));
    DoubleVec x = hn::Sub(theta, hn::Mul(q, all(kPiOver2a)));
    x = hn::Sub(x, hn::Mul(q, all(kPiOver2b)));
    x = hn::Sub(x, hn::Mul(q, all(kPiOver2c)));
    const DoubleVec z = hn::Mul(x, x);
    const DoubleVec s = hn::Add(x, hn::Mul(hn::Mul(x, z), horner(kSin, z)));
    const DoubleVec c =
        hn::Add(hn::Sub(all(1.0), hn::Mul(all(0.5), z)), hn::Mul(hn::Mul(z, z), horner(kCos, z)));
    // θ = x + q·π/2: odd quadrants swap sine and cosine, the sine is negative in quadrants 2
    // and 3, the cosine in 1 and 2.
    const Words words;
    const auto quadrant = hn::BitCast(words, units);
    const auto one = hn::Set(words, 1);
    const auto swap = hn::RebindMask(Doubles(), hn::Eq(hn::And(quadrant, one), one));
    return {hn::Xor(hn::IfThenElse(swap, s, c), signOfBitOne(hn::Add(quadrant, one))),
            hn::Xor(hn::IfThenElse(swap, c, s), signOfBitOne(quadrant))};
}

// Lanes whose value lies more than 2^10 units in the last place (of a double) from the
// halfway point between two single-precision values: the 29 bits a double has beyond a
// single's are then far from 1000...0.
hn::Mask<SignedWords> farFromHalfway(DoubleVec v) {
    const SignedWords words;
    const auto beyond = hn::And(hn::BitCast(words, v), hn::Set(words, (std::int64_t{1} << 29) - 1));
    const auto fromHalf = hn::Sub(beyond, hn::Set(words, std::int64_t{1} << 28));
    const auto margin = hn::Set(words, 1 << 10);
    return hn::Or(hn::Gt(fromHalf, margin), hn::Gt(hn::Neg(margin), fromHalf));
}

// Single-precision cosine and sine, widened again, of a vector of angles.
HWY_INLINE Turns turnsOf(DoubleVec theta) {
    const Turns approximate = approximateTurns(theta);
    const Singles singles;
    auto cosine = hn::DemoteTo(singles, approximate.cosine);
    auto sine = hn::DemoteTo(singles, approximate.sine);
    const SignedWords words;
    const auto far = hn::And(farFromHalfway(approximate.cosine), farFromHalfway(approximate.sine));
    if (!hn::AllTrue(words, far)) {
        HWY_ALIGN double angle[kMaxLanes];
        HWY_ALIGN std::int64_t keep[kMaxLanes];
        HWY_ALIGN float c[kMaxLanes], s[kMaxLanes];
        hn::Store(theta, Doubles(), angle);
        hn::Store(hn::VecFromMask(words, far), words, keep);
        hn::Store(cosine, singles, c);
        hn::Store(sine, singles, s);
        for (std::size_t k = 0; k < hn::Lanes(singles); ++k) {
            if (keep[k] != 0) continue;
            const Turn turn(angle[k]);
            c[k] = float(turn.co);
            s[k] = float(turn.si);
        }
        cosine = hn::Load(singles, c);
        sine = hn::Load(singles, s);
    }
    return {hn::PromoteTo(Doubles(), cosine), hn::PromoteTo(Doubles(), sine)};
}

// Lanes where low < v < high.
hn::Mask<BothInts> strictlyBetween(hn::Vec<BothInts> v, std::int32_t low, std::int32_t high) {
    const BothInts ints;
    return hn::And(hn::Gt(v, hn::Set(ints, low)), hn::Lt(v, hn::Set(ints, high)));
}

// The nearest integers, halves to even, of values that stay below 2^31 in size; larger
// ones give numbers outside every plane. (The emulated targets' Round takes a value just
// below ±0.5 one step too far, to ±1 instead of 0: outside the picture either way.)
hn::Vec<Ints> nearestInts(DoubleVec v) {
#if HWY_TARGET == HWY_AVX2
    // Highway converts doubles to narrower integers only towards zero; AVX2 rounds to nearest
    // in the same instruction.
    return hn::Vec<Ints>{_mm256_cvtpd_epi32(v.raw)};
#else
    return hn::DemoteTo(Ints(), hn::Round(v));
#endif
}

// Source points, as offsets from the centre, of the pixels on both sides of the centre
// column: one vector for each side.
struct SidePoints {
    DoubleVec rightX, rightY, leftX, leftY;
};

// The source pixels of both sides in one vector twice as long, the right side in the lower
// half; colour X where a point lies on or beyond the outer ring.
HWY_INLINE hn::Vec<BothSides> sourcePixels(const Twist& twist, const SidePoints& points) {
    const BothInts ints;
    const DoubleVec cx = all(twist.cx), cy = all(twist.cy);
    const auto sx = hn::Combine(ints, nearestInts(hn::Add(points.leftX, cx)),
                                nearestInts(hn::Add(points.rightX, cx)));
    const auto sy = hn::Combine(ints, nearestInts(hn::Add(points.leftY, cy)),
                                nearestInts(hn::Add(points.rightY, cy)));
    const auto inside = hn::And(strictlyBetween(sx, 1, twist.planes.width),
                                strictlyBetween(sy, 1, twist.planes.height));
    const auto one = hn::Set(ints, 1);
    const auto pixel =
        hn::Add(hn::Mul(hn::Sub(sy, one), hn::Set(ints, twist.planes.width)), hn::Sub(sx, one));
    // Lanes outside read the first pixel, then take colour X.
    const auto offset = hn::ShiftLeft<2>(hn::IfThenElseZero(inside, pixel));
    const BothSides pixels;
    const auto* plane = reinterpret_cast<const std::uint32_t*>(twist.planes.source);
    return hn::IfThenElse(hn::RebindMask(pixels, inside), hn::GatherOffset(pixels, plane, offset),
                          hn::Set(pixels, twist.colourX));
}

// Blue, green and red of the pixels over the reserved bytes at `target`.
void storeColour(std::uint8_t* target, PixelVec fresh) {
    const Pixels pixels;
    auto* at = reinterpret_cast<std::uint32_t*>(target);
    const auto colour = hn::Set(pixels, kColourBytes);
    hn::StoreU(hn::Or(hn::And(fresh, colour), hn::AndNot(colour, hn::LoadU(pixels, at))), pixels,
               at);
}

// The four products of a vector of column distances, as the plain columns form them from
// the signed distances of each pixel from the centre: the mirror images use the same
// products negated, which is exact.
struct Products {
    DoubleVec dxCos, dySin, dxSin, dyCos;
};

// Row `row` at distances d .. d + n - 1 on both sides of the centre column.
HWY_INLINE void twistRow(const Twist& twist, const Products& p, std::int32_t row, std::int32_t d) {
    const bool above = row >= twist.cy;
    const DoubleVec dySin = above ? p.dySin : hn::Neg(p.dySin);
    const DoubleVec dyCos = above ? p.dyCos : hn::Neg(p.dyCos);
    std::uint8_t* line = twist.planes.target + twist.planes.rowOffset(row);
    const std::int32_t n = std::int32_t(hn::Lanes(Doubles()));
    const auto both =
        sourcePixels(twist, {hn::Sub(p.dxCos, dySin), hn::Add(p.dxSin, dyCos),
                             hn::Sub(hn::Neg(p.dxCos), dySin), hn::Add(hn::Neg(p.dxSin), dyCos)});
    const PixelVec right = hn::LowerHalf(Pixels(), both);
    const PixelVec left = hn::UpperHalf(Pixels(), both);
    storeColour(line + columnOffset(twist.cx + d), right);
    storeColour(line + columnOffset(twist.cx - d - n + 1), hn::Reverse(Pixels(), left));
}

// The angle of a vector of column distances from the centre, in the plain columns' steps.
HWY_INLINE DoubleVec angleOf(const Twist& twist, DoubleVec dx, DoubleVec dy2) {
    const DoubleVec r = hn::Sqrt(hn::Add(hn::Mul(dx, dx), dy2));
    return hn::Mul(hn::Div(r, all(twist.m)), all(twist.maxAngle));
}

HWY_INLINE void twistLanes(const RowPair& pair, DoubleVec dx, const Turns& turn, std::int32_t d) {
    const DoubleVec dy = all(double(pair.dy));
    const Products p{hn::Mul(dx, turn.cosine), hn::Mul(dy, turn.sine), hn::Mul(dx, turn.sine),
                     hn::Mul(dy, turn.cosine)};
    for (int j = 0; j < pair.rows.count; ++j) twistRow(pair.twist, p, pair.rows.line[j], d);
}

// Whether distances d .. last and their mirror images all lie inside the picture and the
// block.
bool fits(const Twist& twist, std::int32_t d, std::int32_t last, std::int32_t lastDx) {
    return last <= lastDx && twist.cx + last <= twist.planes.width && twist.cx - last >= 1 &&
           d >= 1;
}

// Column distances from `d` on, two vectors at a time while they fit, so the long chains of
// two turns overlap; then one. Returns the first distance not done.
std::int32_t twistVectorColumns(const RowPair& pair, std::int32_t d, std::int32_t lastDx) {
    const Doubles doubles;
    const std::int32_t n = std::int32_t(hn::Lanes(doubles));
    const DoubleVec dy2 = hn::Mul(all(double(pair.dy)), all(double(pair.dy)));
    const DoubleVec steps = hn::Iota(doubles, 0.0);
    for (; fits(pair.twist, d, d + 2 * n - 1, lastDx); d += 2 * n) {
        const DoubleVec a = hn::Add(all(double(d)), steps), b = hn::Add(a, all(double(n)));
        const Turns turnA = turnsOf(angleOf(pair.twist, a, dy2));
        const Turns turnB = turnsOf(angleOf(pair.twist, b, dy2));
        twistLanes(pair, a, turnA, d);
        twistLanes(pair, b, turnB, d + n);
    }
    for (; fits(pair.twist, d, d + n - 1, lastDx); d += n) {
        const DoubleVec a = hn::Add(all(double(d)), steps);
        twistLanes(pair, a, turnsOf(angleOf(pair.twist, a, dy2)), d);
    }
    return d;
}

#else

// Without double-precision vectors of two lanes or more every column is a plain one.
std::int32_t twistVectorColumns(const RowPair&, std::int32_t d, std::int32_t) {
    return d;
}

#endif

void twistBlock(const Twist& twist, const Block& block, bool vectors) {
    for (std::int32_t dy = block.firstDy; dy <= block.lastDy; ++dy) {
        const LinePair rows(twist.cy, dy, twist.planes.height);
        if (rows.count == 0) continue;
        std::int32_t dx = block.firstDx;
        if (dx == 0) twistColumn(twist, rows, dy, dx++);
        if (vectors) dx = twistVectorColumns(RowPair{twist, rows, dy}, dx, block.lastDx);
        for (; dx <= block.lastDx; ++dx) twistColumn(twist, rows, dy, dx);
    }
}

}  // namespace

void twistPlanes(const PlaneView& planes, std::int32_t amount, std::uint32_t colour) {
    const Twist twist(planes, amount, colour);
    const bool vectors = offsetsFit(planes);
    forEachBlock(twist, [&](const Block& block) { twistBlock(twist, block, vectors); });
}

// The vector turns of `count` angles, the plain ones for the end.
void turnsOfAngles(const double* angles, float* cosines, float* sines, std::size_t count) {
    std::size_t i = 0;
#if HWY_HAVE_FLOAT64 && HWY_TARGET != HWY_SCALAR
    const Doubles doubles;
    const Singles singles;
    for (; i + hn::Lanes(doubles) <= count; i += hn::Lanes(doubles)) {
        const Turns turns = turnsOf(hn::LoadU(doubles, angles + i));
        hn::StoreU(hn::DemoteTo(singles, turns.cosine), singles, cosines + i);
        hn::StoreU(hn::DemoteTo(singles, turns.sine), singles, sines + i);
    }
#endif
    for (; i < count; ++i) {
        const Turn turn(angles[i]);
        cosines[i] = float(turn.co);
        sines[i] = float(turn.si);
    }
}

}  // namespace quillon::pixeleffects::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quillon::pixeleffects {

HWY_EXPORT(twistPlanes);
HWY_EXPORT(turnsOfAngles);

void twist(const PlaneView& planes, std::int32_t amount, std::uint32_t colour) {
    HWY_DYNAMIC_DISPATCH(twistPlanes)(planes, amount, colour);
}

void twistTurns(const double* angles, float* cosines, float* sines, std::size_t count) {
    HWY_DYNAMIC_DISPATCH(turnsOfAngles)(angles, cosines, sines, count);
}

}  // namespace quillon::pixeleffects
#endif
