#include "engine/PixelEffectsKernel.h"

namespace quillon {
namespace {

// Nothing is ever mapped in the lowest 64 KiB of an address space (the guard region
// behind null pointers), so a c below it is the plain integer the other op codes get,
// not a table: the wave then has no rows to read and changes nothing.
constexpr KernelPointerArgument kLowestTableAddress = 0x10000;

}  // namespace

void pixelEffectsKernel(const KernelParameterRecord* record, KernelArgument, KernelArgument,
                        KernelPointerArgument c) {
    // A surface with no pixels has nothing to read or write.
    if (record->surface == nullptr || record->width <= 0 || record->height <= 0) return;
    const std::optional<PixelEffect> effect = knownOp<PixelEffect>(record->opCode);
    if (!effect) return;
    const PlaneView planes{planeStart(*record, SurfacePlane::Undo),
                           planeStart(*record, SurfacePlane::Working), record->width,
                           record->height};
    switch (*effect) {
        case PixelEffect::Smooth:
            pixeleffects::smooth(planes, record->amount);
            break;
        case PixelEffect::Edge:
            pixeleffects::edgeFilter(planes, record->colour);
            break;
        case PixelEffect::DiagonalRelief:
            pixeleffects::diagonalRelief(planes, record->colour);
            break;
        case PixelEffect::Wave:
            if (c >= kLowestTableAddress)
                pixeleffects::wave(planes, reinterpret_cast<const void*>(c));
            break;
        case PixelEffect::Emboss:
            pixeleffects::emboss(planes, record->colour);
            break;
        case PixelEffect::Twist:
            pixeleffects::twist(planes, record->amount, record->colour);
            break;
    }
}

}  // namespace quillon
