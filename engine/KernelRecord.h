#pragma once

#include <cstdint>

#include "engine/SurfacePlane.h"

namespace quillon {

// The parameter record every kernel receives by address. One record lives in each
// engine and is reused by every call; the fields keep the values of the last call
// that set them.
struct KernelParameterRecord {
    std::int32_t width = 0;           // 0: W, pixels per row
    std::int32_t height = 0;          // 1: H, rows
    std::uint8_t* surface = nullptr;  // 2: first byte of the surface (start of the original plane)
    std::int32_t reserved = 0;        // 3: read by no kernel
    std::int32_t amount = 0;          // 4: sign-extended 16-bit amount
    std::uint32_t colour = 0;         // 5: 0x00BBGGRR
    std::int32_t opCode = 0;          // 6
};

// The kernel contract: record, then three 32-bit arguments. Where a or b carry a
// number with a fraction they hold the bit pattern of a single-precision value; c is
// a signed integer or the address of a table, so it is pointer-sized here.
using KernelArgument = std::uint32_t;
using KernelPointerArgument = std::intptr_t;
using Kernel = void (*)(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                        KernelPointerArgument c);

// The first byte of a plane of the record's surface.
inline std::uint8_t* planeStart(const KernelParameterRecord& record, SurfacePlane plane) {
    const auto planeBytes =
        std::uint64_t{4} * std::uint32_t(record.width) * std::uint32_t(record.height);
    return record.surface + planeBytes * planesBefore(plane);
}

}  // namespace quillon
