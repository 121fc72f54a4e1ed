#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <QImage>
#include <cstdint>
#include <optional>

namespace quillon::fuzzing {

// Arguments for the engine's operations, drawn from the fuzzer's bytes. Each mixes the
// values that sit on an edge (0, -1, the ends of the type, NaN, infinities, the first
// value that no longer fits single precision) with arbitrary ones.
std::int32_t fuzzedOpCode(FuzzedDataProvider& data);
std::int16_t fuzzedAmount(FuzzedDataProvider& data);
std::int32_t fuzzedColour(FuzzedDataProvider& data);
std::int32_t fuzzedFilterDamping(FuzzedDataProvider& data);
float fuzzedFactor(FuzzedDataProvider& data);
std::optional<double> fuzzedCentre(FuzzedDataProvider& data);

// A picture of the given size: arbitrary colours, or colours from the ends of the byte
// range and the thresholds the kernels compare against.
QImage fuzzedPicture(FuzzedDataProvider& data, int width, int height);

}  // namespace quillon::fuzzing
