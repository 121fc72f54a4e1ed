#include "engine/PixelEffectsKernel.h"

namespace quillon {
namespace {

// Nothing is ever mapped in the lowest 64 KiB of an address space (the guard region
// behind null pointers), so a c below it is the plain integer the other op codes get,
// not a table: the wave then has no rows to read and changes nothing.
constexpr KernelPointerArgument kLowestTableAddress = 0x10000;

enum OpCode : std::int32_t { kSmooth, kEdge, kDiagonalRelief, kWave, kEmboss, kTwist };

}  // namespace

void pixelEffectsKernel(const KernelParameterRecord* record, KernelArgument, KernelArgument,
                        KernelPointerArgument c) {
    // A surface with no pixels has nothing to read or write.
    if (record->surface == nullptr || record->width <= 0 || record->height <= 0) return;
    const PlaneView planes{planeStart(*record, 3), planeStart(*record, 2), record->width,
                           record->height};
    switch (record->opCode) {
        case kSmooth:
            pixeleffects::smooth(planes, record->amount);
            break;
        case kEdge:
            pixeleffects::edgeFilter(planes, record->colour);
            break;
        case kDiagonalRelief:
            pixeleffects::diagonalRelief(planes, record->colour);
            break;
        case kWave:
            if (c >= kLowestTableAddress)
                pixeleffects::wave(planes, reinterpret_cast<const void*>(c));
            break;
        case kEmboss:
            pixeleffects::emboss(planes, record->colour);
            break;
        case kTwist:
            pixeleffects::twist(planes, record->amount, record->colour);
            break;
        default:
            break;
    }
}

}  // namespace quillon
