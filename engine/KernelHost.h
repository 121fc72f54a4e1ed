#pragma once

#include <bit>
#include <cstdint>

#include "engine/KernelRecord.h"

namespace quillon {

// The five kernels of the engine, one per family of effects. A kernel that is missing
// from a table (nullptr) is simply not called.
struct KernelTable {
    Kernel rotation = nullptr;
    Kernel palEffects = nullptr;
    Kernel pixelEffects = nullptr;
    Kernel colorXEffects = nullptr;
    Kernel magnify = nullptr;
};

const KernelTable& builtInKernels();

// The three extra arguments of one kernel call.
struct KernelArguments {
    KernelArgument a = 0;
    KernelArgument b = 0;
    KernelPointerArgument c = 0;
};

inline KernelArgument singleBits(float value) {
    return std::bit_cast<KernelArgument>(value);
}

// The arguments most operations pass when the kernel needs nothing particular:
// the single-precision values 2.0 and 3.0, and 4.
inline constexpr KernelArgument kSingleTwo = 0x40000000;
inline constexpr KernelArgument kSingleThree = 0x40400000;
inline constexpr KernelPointerArgument kPlainFour = 4;

}  // namespace quillon
