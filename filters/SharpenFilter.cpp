#include "filters/SharpenFilter.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <stdexcept>

#include "filters/SharpenRows.h"
#include "platform/core/Application.h"
#include "platform/core/CheckedArithmetic.h"

namespace quillon::mFilterQ {
namespace {

// The filter's arithmetic is 32-bit and overflow-tested (platform/core/CheckedArithmetic.h):
// a damping value far from the usual 2 ends the call with an error instead of a wrapped,
// meaningless picture.

struct Weights {
    std::int32_t centre;
    std::int32_t divisor;
};

// Every neighbour weighs -2, so centre and divisor differ by 16 and a flat area stays flat.
Weights weightsFor(std::int32_t s) {
    return {checkedAdd(s, 24), checkedAdd(s, 8)};
}

std::uint8_t clampToByte(std::int32_t value) {
    if (value > 255) return 255;
    if (value < 0) return 0;
    return std::uint8_t(value);
}

// `centre` points at an inner pixel, so all eight neighbours lie inside the buffer. The
// three colour values are computed first and written together; the reserved byte stays.
void sharpenPixel(std::uint8_t* centre, std::ptrdiff_t stride, const Weights& weights) {
    std::int32_t values[3];
    for (int c = 0; c < 3; ++c) {
        const std::uint8_t* p = centre + c;
        const std::int32_t sum = p[-stride - 4] + p[-stride] + p[-stride + 4] + p[-4] + p[4] +
                                 p[stride - 4] + p[stride] + p[stride + 4];
        const std::int32_t weighted =
            checkedSubtract(checkedMultiply(weights.centre, p[0]), 2 * sum);
        values[c] = checkedDivide(weighted, weights.divisor);
    }
    for (int c = 0; c < 3; ++c) centre[c] = clampToByte(values[c]);
}

// `row` counts from 0 at the top; the outermost columns keep their values.
void sharpenRow(const FilterPixels& pixels, std::int32_t row, const Weights& weights) {
    const std::ptrdiff_t stride = 4 * std::ptrdiff_t{pixels.width};
    std::uint8_t* start = pixels.bytes + stride * row;
    for (std::int32_t x = 1; x + 1 < pixels.width; ++x) {
        sharpenPixel(start + 4 * std::ptrdiff_t{x}, stride, weights);
    }
}

// `rowsDone` counts rows from 1 at the top. The percentage never exceeds 100; the product
// is formed in 64 bits so that a very tall picture cannot overflow it.
void reportRow(FilterProgressTargets progress, std::int32_t rowsDone, std::int32_t height) {
    const auto percent = std::int32_t(std::int64_t{rowsDone} * 100 / height);
    progress.module = percent;
    progress.caller = percent;
    platform::processPendingEvents();
}

}  // namespace

// Weights whose arithmetic cannot overflow or divide by zero take the fast rows, which give
// the same pixels; the others keep the checked arithmetic, so they fail where they did.
void SharpenFilter(const FilterPixels& pixels, FilterProgressTargets progress, std::int32_t s) {
    progress.module = 0;
    const Weights weights = weightsFor(s);
    std::optional<FastSharpen> fast;
    if (FastSharpen::suits(weights.centre, weights.divisor))
        fast.emplace(weights.centre, weights.divisor);
    const std::ptrdiff_t stride = 4 * std::ptrdiff_t{pixels.width};
    for (std::int32_t y = 2; y < pixels.height; ++y) {
        if (fast) {
            fast->sharpenRow(pixels.bytes + stride * (y - 1), stride, pixels.width);
        } else {
            sharpenRow(pixels, y - 1, weights);
        }
        reportRow(progress, y, pixels.height);
    }
    progress.caller = 100;
    platform::processPendingEvents();
}

}  // namespace quillon::mFilterQ
