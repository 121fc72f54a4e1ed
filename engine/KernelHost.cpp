#include "engine/KernelHost.h"

#include "engine/PalEffectsKernel.h"

namespace quillon {

const KernelTable& builtInKernels() {
    static const KernelTable table{
        .rotation = nullptr,
        .palEffects = palEffectsKernel,
        .pixelEffects = nullptr,
        .colorXEffects = nullptr,
        .magnify = nullptr,
    };
    return table;
}

}  // namespace quillon
