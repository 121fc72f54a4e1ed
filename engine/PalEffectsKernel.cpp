#include "engine/PalEffectsKernel.h"

#include "engine/PalEffectsPasses.h"

namespace quillon {

void palEffectsKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument,
                      KernelPointerArgument) {
    // A record whose sizes describe no picture holds no pixels to change.
    if (record->width <= 0 || record->height <= 0) return;
    // The pixel count is the 32-bit product, and the working plane follows the
    // original plane of that many pixels.
    const std::uint32_t count = std::uint32_t(record->width) * std::uint32_t(record->height);
    std::uint8_t* workingPlane = record->surface + std::size_t{4} * count;
    palEffectsOnPixels(workingPlane, count, record->opCode, record->amount, a);
}

void palEffectsOnPixels(std::uint8_t* pixels, std::size_t count, std::int32_t opCode,
                        std::int32_t amount, std::uint32_t noiseStart) {
    using namespace paleffects;
    const std::optional<PalEffect> effect = knownOp<PalEffect>(opCode);
    if (count == 0 || !effect) return;
    if (const auto step = packedStepFor(*effect, amount)) {
        applyPacked(pixels, count, *step);
    } else if (*effect == PalEffect::Noise) {
        addNoise(pixels, count, amount, noiseStart);
    } else if (*effect == PalEffect::Grey) {
        makeGrey(pixels, count);
    } else {
        substitute(pixels, count, *effect);
    }
}

}  // namespace quillon
