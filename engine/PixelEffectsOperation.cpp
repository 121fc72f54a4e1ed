#include <algorithm>
#include <cmath>

#include "engine/PixelEffectsKernel.h"
#include "engine/clsASMpic.h"

namespace quillon {

// Each value is worked out in double precision, stored in single precision and then
// pulled into the rows 1..H.
std::vector<float> waveTable(std::int32_t width, std::int32_t height, std::int32_t amount) {
    const std::int32_t n = std::max(width, height);
    std::vector<float> table(std::size_t(std::max(n, 0)));
    const float top = float(height);
    for (std::int32_t i = 1; i <= n; ++i) {
        const double s = std::sin(double(i) / 5.0);
        float t = float((s + s) * amount + i);
        if (t < 1.0f) t = 1.0f;
        if (t > top) t = top;
        table[std::size_t(i - 1)] = t;
    }
    return table;
}

void clsASMpic::ASM_PixelEffects(const std::int32_t& OpCode, std::int16_t Amount,
                                 std::int32_t colorX) {
    if (PictureBoxMissing()) return;
    // Op codes outside 0..5 run no kernel; the snapshot and the redraw still happen.
    const bool known = knownOp<PixelEffect>(OpCode).has_value();
    std::vector<float> wave;  // lives until the kernel has returned
    runKernel(known ? kernels_.pixelEffects : nullptr, Snapshot::IfAutoDraw,
              [&](KernelParameterRecord& record) {
                  record.amount = Amount;
                  record.colour = effectColour(colorX);
                  record.opCode = OpCode;
                  KernelArguments arguments{kSingleTwo, kSingleThree, kPlainFour};
                  if (OpCode == codeOf(PixelEffect::Wave)) {
                      wave = waveTable(record.width, record.height, Amount);
                      arguments.c = reinterpret_cast<KernelPointerArgument>(wave.data());
                  }
                  return arguments;
              });
}

}  // namespace quillon
