// The colour X effects operation: fills the record and enters the colour X kernel once,
// or once per random dot.
#include <limits>
#include <optional>
#include <stdexcept>

#include "engine/ColorXOps.h"
#include "engine/clsASMpic.h"
#include "platform/core/RandomSource.h"
#include "platform/core/SystemTimer.h"

namespace quillon {
namespace {

constexpr std::int32_t kDotsPerAmount = 20;

// The dot count is a 16-bit product, so an Amount beyond ±1638 overflows it.
std::int32_t dotCount(std::int16_t amount) {
    const std::int32_t count = std::int32_t{amount} * kDotsPerAmount;
    if (count < std::numeric_limits<std::int16_t>::min() ||
        count > std::numeric_limits<std::int16_t>::max()) {
        throw std::overflow_error("dot count (amount x 20) does not fit 16 bits");
    }
    return count;
}

// One call per dot, each placed by the next two numbers of the shared random source.
template <typename Call>
void drawRandomDots(std::int16_t amount, KernelPointerArgument c, const Call& call) {
    platform::RandomSource& random = platform::sharedRandom();
    for (std::int32_t dot = dotCount(amount); dot > 0; --dot) {
        const float a = random.draw();
        const float b = random.draw();
        call(KernelArguments{singleBits(a), singleBits(b), c});
    }
}

// a and b of the op codes that pass constants: the patterns read neither; the glow and
// the streaks keep 0.9 of the outermost pixel's colour and 0.1 less at every step in.
KernelArguments constantArguments(ColorXEffect effect, KernelPointerArgument c) {
    if (effect < ColorXEffect::Glow) return KernelArguments{kSingleTwo, kSingleThree, c};
    return KernelArguments{singleBits(0.9f), singleBits(0.1f), c};
}

}  // namespace

void clsASMpic::ASM_ColorXEffects(const std::int32_t& OpCode, std::int32_t colorX,
                                  std::int16_t Amount, Centre centerX, Centre centerY) {
    if (PictureBoxMissing()) return;
    // The kernel contract passes an address in c; this kernel never reads it.
    const std::int32_t unreadByKernel = 99;
    const auto c = reinterpret_cast<KernelPointerArgument>(&unreadByKernel);

    const auto prepareAndCall = [&](KernelParameterRecord& record, const auto& call) {
        record.amount = Amount;
        record.colour = std::uint32_t(colorX);  // a negative value is passed on as it is
        record.opCode = OpCode;
        platform::sharedRandom().seed(platform::systemTimer());
        const std::optional<ColorXEffect> effect = knownOp<ColorXEffect>(OpCode);
        if (!effect) return;
        if (*effect == ColorXEffect::RandomDots) {
            drawRandomDots(Amount, c, call);
        } else if (*effect == ColorXEffect::Ring) {
            call(KernelArguments{centreArgument(centerX, record.width),
                                 centreArgument(centerY, record.height), c});
        } else {
            call(constantArguments(*effect, c));
        }
    };
    runKernelCalls(kernels_.colorXEffects, Snapshot::IfAutoDraw, prepareAndCall);
}

}  // namespace quillon
