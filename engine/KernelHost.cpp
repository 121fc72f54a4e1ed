#include "engine/KernelHost.h"

#include "engine/MagnifyKernel.h"
#include "engine/ColorXKernel.h"
#include "engine/PalEffectsKernel.h"
#include "engine/PixelEffectsKernel.h"
#include "engine/RotationKernel.h"

namespace quillon {

const KernelTable& builtInKernels() {
    static const KernelTable table{
        .rotation = rotationKernel,
        .palEffects = palEffectsKernel,
        .pixelEffects = pixelEffectsKernel,
        .colorXEffects = colorXEffectsKernel,
        .magnify = magnifyKernel,
    };
    return table;
}

}  // namespace quillon
