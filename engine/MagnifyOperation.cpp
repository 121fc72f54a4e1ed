#include <cmath>
#include <stdexcept>

#include "engine/MagnifyOps.h"
#include "engine/clsASMpic.h"

namespace quillon {
namespace {

// The kernel takes the factor in tenths. Ten times a single-precision value is exact in
// double, so the only rounding is the final one to a whole number, halves to even.
std::int32_t factorInTenths(float factor) {
    const double tenths = std::nearbyint(double(factor) * 10.0);
    if (!(tenths >= -2147483648.0 && tenths <= 2147483647.0))
        throw std::overflow_error("factor x 10 does not fit 32 bits");
    return static_cast<std::int32_t>(tenths);
}

}  // namespace

void clsASMpic::ASM_Magnify(float Factor, Centre centerX, Centre centerY, bool AntiAlias,
                            std::int32_t colorX) {
    if (PictureBoxMissing()) return;
    // The amount field is left as the last operation set it; this kernel does not read it.
    runKernel(kernels_.magnify, Snapshot::IfAutoDraw, [&](KernelParameterRecord& record) {
        record.colour = effectColour(colorX);
        record.opCode = codeOf(AntiAlias ? MagnifyMode::Bilinear : MagnifyMode::Nearest);
        const KernelPointerArgument tenths = factorInTenths(Factor);
        return KernelArguments{centreArgument(centerX, record.width),
                               centreArgument(centerY, record.height), tenths};
    });
}

}  // namespace quillon
