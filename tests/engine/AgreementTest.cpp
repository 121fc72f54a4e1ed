// The engine's promise: every fast path gives the plain path's bytes. Each kernel runs on
// random surfaces of widths around the vector steps (row ends, last columns, odd widths)
// with random, also absurd, arguments: first the plain way, then at every vector level the
// build and processor offer; all three planes must come out the same to the byte. The
// kernels are entered only as the engine enters them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "engine/ColorXKernel.h"
#include "engine/MagnifyKernel.h"
#include "engine/PalEffectsKernel.h"
#include "engine/PixelEffectsKernel.h"
#include "engine/RotationKernel.h"
#include "engine/SimdDispatch.h"
#include "tests/engine/KernelSurface.h"

namespace quillon {
namespace {

using testsupport::KernelCall;
using testsupport::KernelSurface;
using Planes = std::array<std::vector<std::uint8_t>, 3>;

// The kernels take the best vector level the processor has, so on such a machine the lower
// levels would go unchecked: each check runs at every level instead, held while this lives
// and named in every failure.
class ScopedSimdLevel {
public:
    explicit ScopedSimdLevel(simd::Level level)
        : previous_(simd::setCeiling(level)), trace_(__FILE__, __LINE__, simd::name(level)) {}
    ~ScopedSimdLevel() { simd::setCeiling(previous_); }

private:
    simd::Level previous_;
    ::testing::ScopedTrace trace_;
};

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kAmounts[] = {-32768, -300, -1, 0, 1, 2, 3, 4, 5, 7, 8, 9, 16, 255, 300};

template <typename T, std::size_t N>
T pick(std::mt19937& random, const T (&values)[N]) {
    return values[random() % N];
}

float uniform(std::mt19937& random, float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
}

// A centre along `extent` pixels: now and then one no picture has (not a number, infinite,
// far off or tiny), else a whole or half pixel near the picture, where the rounding and the
// blending cells have their ties, or anywhere near it.
float randomCentre(std::mt19937& random, int extent) {
    const float whole = float(int(random() % unsigned(extent + 7)) - 3);
    const unsigned kind = random() % 10;
    if (kind == 0) return pick(random, {kNaN, kInf, -kInf, 3e38f, -1e30f, 1e10f, -3e9f, 1e-40f});
    return kind < 3 ? whole + 0.5f : kind < 6 ? whole : uniform(random, -4.0f, extent + 4.0f);
}

// One random call of a kernel family on `surface`, which it may fill to suit; `table`
// holds what c points at, where it is an address.
using Arrange = KernelCall (*)(KernelSurface& surface, std::mt19937& random,
                               std::vector<float>& table);

KernelCall palette(KernelSurface& surface, std::mt19937& random, std::vector<float>&) {
    surface.fillRandomly(random);
    const std::int32_t op = random() % 25 == 0 ? pick(random, {-1, 20, kMin}) : random() % 20;
    return {op, pick(random, kAmounts), 0, KernelArgument(random())};
}

// Wave tables as the engine makes them, now and then values no row has.
KernelCall pixelEffects(KernelSurface& surface, std::mt19937& random, std::vector<float>& table) {
    surface.fillRandomly(random);
    const std::int32_t op = std::int32_t(random() % 8) - 1;
    const std::int32_t amount = pick(random, kAmounts);
    table = waveTable(surface.width(), surface.height(), amount);
    if (random() % 4 == 0) {
        for (float& t : table) t = pick(random, {kNaN, -kInf, kInf, 1e30f, 0.0f, 0.5f, 2.5f, 3e9f});
    }
    const std::uint32_t colour = pick(random, {0x0u, 0x00FFFFFFu, 0x0080FF01u, 0xFF123456u});
    const auto c = op == 3 ? reinterpret_cast<KernelPointerArgument>(table.data()) : 4;
    return {op, amount, colour, 0, 0, c};
}

// Colour X common in every plane (a third exact, a third missing by a little), or a field
// of it crossed by a band of other colours, so that glows and streaks overlap and
// saturate and the searches pass whole rows.
void fillAroundColour(KernelSurface& surface, std::uint32_t bgr, std::mt19937& random) {
    const std::uint32_t word = (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
    const bool field = random() % 4 == 0;
    for (int p = 1; p <= 3; ++p) {
        for (std::size_t i = 0; i < surface.pixelCount(); ++i) {
            std::uint32_t pixel = std::uint32_t(random());
            const std::uint32_t exact = (pixel & 0xFF000000) | word;
            const std::size_t row = i / std::size_t(surface.width());
            if (field ? (row % 7 != 3 && random() % 30 != 0) : i % 3 == 0) pixel = exact;
            if (!field && i % 3 == 1) pixel = exact ^ (1u + random() % 4) << (8 * (random() % 3));
            std::memcpy(surface.plane(p) + 4 * i, &pixel, 4);
        }
    }
}

KernelCall colourX(KernelSurface& surface, std::mt19937& random, std::vector<float>&) {
    const std::int32_t op = std::int32_t(random() % 13) - 1;
    const bool ring = op < 0 || op > 8;
    const std::uint32_t colour = random() % 4 == 0   ? pick(random, {0x0u, 0x00FFFFFFu})
                                 : random() % 8 == 0 ? std::uint32_t(random()) | 0x01000000
                                                     : std::uint32_t(random()) & 0x00FFFFFF;
    fillAroundColour(surface, colour, random);
    const float odd = pick(random, {0.0f, 0.99999994f, kNaN, kInf, -kInf, 1e30f});
    const bool absurd = random() % 5 == 0;
    float a = uniform(random, 0.0f, 1.0f), b = uniform(random, 0.0f, 0.2f);
    if (ring) {
        a = uniform(random, -20.0f, float(surface.width()) + 20.0f);
        b = uniform(random, -20.0f, float(surface.height()) + 20.0f);
    }
    const std::int32_t amount = ring ? pick(random, {-1, 0, 1, 2, 3}) : pick(random, kAmounts);
    return {op, amount, colour, singleBits(absurd ? odd : a),
            singleBits(absurd ? uniform(random, -1, 1) : b)};
}

// Magnify and rotation: a random background and centre, the factor or angle in c.
KernelCall aroundCentre(KernelSurface& surface, std::mt19937& random, std::int32_t op,
                        KernelPointerArgument c) {
    const std::uint32_t background = std::uint32_t(random());
    const float x = randomCentre(random, surface.width());
    return {op, 0, background, singleBits(x), singleBits(randomCentre(random, surface.height())),
            c};
}

KernelCall magnify(KernelSurface& surface, std::mt19937& random, std::vector<float>&) {
    surface.fillRandomly(random);
    const std::int32_t odd = pick(random, {0, 1, -1, 10, -10, 1000000, 2147483647, kMin});
    const std::int32_t op = random() % 40 == 0 ? pick(random, {2, -1, kMin}) : random() % 2;
    const std::int32_t tenths = random() % 4 == 0 ? odd : std::int32_t(random() % 121) - 60;
    return aroundCentre(surface, random, op, tenths);
}

KernelCall rotation(KernelSurface& surface, std::mt19937& random, std::vector<float>&) {
    surface.fillRandomly(random);
    const std::int32_t named = pick(random, {360, 450, 540, 630, 405, 0, -32408, 32767, 1000000});
    const std::int32_t op = random() % 40 == 0 ? pick(random, {4, -1, kMin}) : random() % 4;
    const std::int32_t degrees = random() % 3 == 0 ? named : std::int32_t(random() % 65536) - 32408;
    return aroundCentre(surface, random, op, degrees);
}

void restore(KernelSurface& surface, const Planes& planes) {
    for (int p = 1; p <= 3; ++p)
        std::memcpy(surface.plane(p), planes[p - 1].data(), planes[p - 1].size());
}

// The palette effects pixel by pixel, where no vector fits (noise is one sequence and
// has no vectors); smoothing by its own plain loop; every other kernel at the lowest level.
Planes plainResult(Kernel kernel, KernelSurface& surface, const KernelCall& call) {
    const Planes before = surface.planes();
    const auto& record = surface.record();
    if (kernel == palEffectsKernel) {
        const bool noise = call.opCode == 10;
        const std::size_t step = noise ? std::max<std::size_t>(1, surface.pixelCount()) : 1;
        for (std::size_t i = 0; i < surface.pixelCount(); i += step)
            palEffectsOnPixels(surface.plane(2) + 4 * i, step, call.opCode, call.amount, call.a);
    } else if (kernel == pixelEffectsKernel && call.opCode == 0 &&
               (call.amount == 1 || call.amount == 2 || call.amount == 4 || call.amount == 8) &&
               record.width > 0 && record.height > 0) {
        pixeleffects::smoothPlain({surface.plane(3), surface.plane(2), record.width, record.height},
                                  call.amount);
    } else {
        const ScopedSimdLevel lowest(simd::levels().front());
        surface.run(kernel, call);
    }
    Planes plain = surface.planes();
    restore(surface, before);
    return plain;
}

struct Family {
    const char* name;
    Kernel kernel;
    Arrange arrange;
};

const Family kFamilies[] = {{"palette", palEffectsKernel, palette},
                            {"pixel effects", pixelEffectsKernel, pixelEffects},
                            {"colour X", colorXEffectsKernel, colourX},
                            {"magnify", magnifyKernel, magnify},
                            {"rotation", rotationKernel, rotation}};

class Agreement : public ::testing::TestWithParam<Family> {};

TEST_P(Agreement, EveryLevelGivesThePlainBytes) {
    const Family& family = GetParam();
    std::mt19937 random(20261207);
    for (int round = 0; round < 1500; ++round) {
        const int w = round < 1000 ? 1 + round % 41 : 1 + int(random() % 70);
        const int h = round < 1000 ? 1 + int(random() % 9) : 1 + int(random() % 30);
        KernelSurface surface(w, h);
        std::vector<float> table;
        const KernelCall call = family.arrange(surface, random, table);
        const Planes before = surface.planes(), plain = plainResult(family.kernel, surface, call);
        for (const simd::Level level : simd::levels()) {
            const ScopedSimdLevel scoped(level);
            restore(surface, before);
            surface.run(family.kernel, call);
            ASSERT_EQ(surface.planes(), plain)
                << w << "x" << h << " op " << call.opCode << " amount " << call.amount << " colour "
                << std::hex << call.colour << " a " << call.a << " b " << call.b << std::dec
                << " c " << call.c;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, Agreement, ::testing::ValuesIn(kFamilies), [](const auto& info) {
    std::string name = info.param.name;
    std::erase(name, ' ');
    return name;
});

// The twist's vector cosine and sine come from a polynomial and ask the library only where
// the result lies close to a halfway point between two single-precision values; rounded to
// single precision both must agree with the library everywhere. A million angles over every
// quadrant a twist reaches meet that closeness some times at each level, and the angles
// next to the quadrant edges test the reduction.
TEST(AgreementOfTwist, TurnsAgreeWithTheLibrary) {
    std::mt19937 random(314);
    const double quarter = 1.5707963267948966;
    std::vector<double> angles(1000000);
    for (std::size_t i = 0; i < angles.size(); ++i) {
        angles[i] = i % 40 < 4 ? std::nextafter(quarter * double(random() % 7), random() % 2 * 9.0)
                               : std::uniform_real_distribution<double>(0.0, 10.0)(random);
    }
    std::vector<float> cosines(angles.size()), sines(angles.size());
    for (const simd::Level level : simd::levels()) {
        const ScopedSimdLevel scoped(level);
        pixeleffects::twistTurns(angles.data(), cosines.data(), sines.data(), angles.size());
        for (std::size_t i = 0; i < angles.size(); ++i) {
            ASSERT_TRUE(cosines[i] == float(std::cos(angles[i])) &&
                        sines[i] == float(std::sin(angles[i])))
                << std::hexfloat << angles[i];
        }
    }
}

}  // namespace
}  // namespace quillon
