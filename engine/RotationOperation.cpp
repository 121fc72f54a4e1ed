#include <stdexcept>

#include "engine/RotationOps.h"
#include "engine/clsASMpic.h"

namespace quillon {
namespace {

// The kernel takes the angle plus one whole turn, summed in 16 bits as the operation's
// own arithmetic is; an angle too large for that is an overflow, not a wrapped turn.
std::int16_t angleWithWholeTurn(std::int16_t angle) {
    std::int16_t sum = 0;
    if (__builtin_add_overflow(angle, std::int16_t{360}, &sum))
        throw std::overflow_error("angle + 360 does not fit 16 bits");
    return sum;
}

}  // namespace

// Turning the original picture starts afresh every time and needs no snapshot; turning
// the working picture snapshots it first, so the kernel reads it from the undo plane.
void clsASMpic::ASM_Rotate(std::int16_t Angle, bool AntiAlias, bool SourcePic, std::int32_t colorX,
                           Centre centerX, Centre centerY) {
    if (PictureBoxMissing()) return;
    if (Angle == 0) return;
    // A plane without pixels has nothing to turn, and the kernel is not entered for it.
    const bool noPixels = surface_.planeBytes() == 0;
    runKernel(noPixels ? nullptr : kernels_.rotation,
              SourcePic ? Snapshot::Never : Snapshot::IfAutoDraw,
              [&](KernelParameterRecord& record) {
                  record.colour = effectColour(colorX);
                  record.opCode = codeOf(rotationMode(AntiAlias, SourcePic));
                  const std::int16_t degrees = angleWithWholeTurn(Angle);
                  const KernelArgument a = centreArgument(centerX, record.width);
                  const KernelArgument b = centreArgument(centerY, record.height);
                  return KernelArguments{a, b, degrees};
              });
}

}  // namespace quillon
