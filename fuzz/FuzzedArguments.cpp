#include "fuzz/FuzzedArguments.h"

#include <bit>
#include <limits>

namespace quillon::fuzzing {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kFloatMax = std::numeric_limits<float>::max();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr float kEdgeFactors[] = {0.0f,        -0.0f,       1.0f,       -1.0f,       0.04f,
                                  0.05f,       1e-30f,      1e30f,      -1e30f,      kFloatMax,
                                  -kFloatMax,  kInfinity,   -kInfinity, float(kNaN), 214748364.7f,
                                  214748368.f, -214748368.f};
constexpr double kEdgeCentres[] = {0.0,  -0.5, 0.5,  -1.0,  63.5,  64.0, 1e6,
                                   -1e6, 1e38, 4e38, -4e38, 1e300, kNaN, double(kInfinity)};
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kEdgeDampings[] = {2, 0, -8, -24, kInt32Max, kInt32Min};
constexpr std::uint32_t kEdgeColours[] = {0x000000, 0xFFFFFF, 0x808080, 0x7F7F7F,
                                          0x010101, 0xFEFEFE, 0x0000FF, 0xFF0000};
// Amounts the kernels single out (the smoothing neighbourhoods 1, 2, 4 and 8, the
// dot count's 16-bit limit at 1638) and the ends of the range.
constexpr std::int16_t kEdgeAmounts[] = {0,    1,     2,     3,     4,     5,     8,   10,
                                         16,   20,    -1,    -2,    100,   255,   256, 1638,
                                         1639, -1638, -1639, 32407, 32767, -32768};

std::uint32_t nextRandom(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

}  // namespace

std::int32_t fuzzedOpCode(FuzzedDataProvider& data) {
    if (data.ConsumeBool()) return data.ConsumeIntegralInRange<std::int32_t>(-2, 20);
    return data.ConsumeIntegral<std::int32_t>();
}

std::int16_t fuzzedAmount(FuzzedDataProvider& data) {
    if (data.ConsumeBool()) return data.PickValueInArray(kEdgeAmounts);
    return data.ConsumeIntegral<std::int16_t>();
}

// The background, a colour the picture holds (the glows and streaks start from pixels of
// colour X), or any value at all.
std::int32_t fuzzedColour(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return -1;
        case 1:
            return std::int32_t(data.PickValueInArray(kEdgeColours));
        default:
            return data.ConsumeIntegral<std::int32_t>();
    }
}

std::int32_t fuzzedFilterDamping(FuzzedDataProvider& data) {
    if (data.ConsumeBool()) return data.PickValueInArray(kEdgeDampings);
    return data.ConsumeIntegral<std::int32_t>();
}

// An edge value, a factor someone would type (-5 to 40 in tenths), or any bit pattern.
float fuzzedFactor(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return data.PickValueInArray(kEdgeFactors);
        case 1:
            return float(data.ConsumeIntegralInRange(-50, 400)) / 10.0f;
        default:
            return std::bit_cast<float>(data.ConsumeIntegral<std::uint32_t>());
    }
}

std::optional<double> fuzzedCentre(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return std::nullopt;
        case 1:
            return data.ConsumeIntegralInRange(-160, 160) / 2.0;
        case 2:
            return data.PickValueInArray(kEdgeCentres);
        default:
            return std::bit_cast<double>(data.ConsumeIntegral<std::uint64_t>());
    }
}

QImage fuzzedPicture(FuzzedDataProvider& data, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    const bool edgeColours = data.ConsumeBool();
    std::uint32_t state = data.ConsumeIntegral<std::uint32_t>();
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::uint32_t random = nextRandom(state);
            const std::uint32_t colour = edgeColours ? kEdgeColours[random % 8] : random;
            row[x] = 0xFF000000u | colour;
        }
    }
    return picture;
}

}  // namespace quillon::fuzzing
