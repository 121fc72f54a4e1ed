#include "engine/ColorXKernel.h"

#include <bit>

#include "engine/ColorXPasses.h"

namespace quillon {
namespace {

using namespace colorx;

// The spread of op codes 4 to 8: about half the amount, rounded up, except that 5 is
// never used (8 and 9 spread as far as 6 and 7). Formed on the amount's 32-bit pattern
// as an unsigned number, which for amounts of at least 1 is the amount itself.
std::int32_t spreadRadius(std::int32_t amount) {
    const std::uint32_t radius = (std::uint32_t(amount) + 2) / 2;
    return std::int32_t(radius == 5 ? 4 : radius);
}

PlaneView workingPlane(const KernelParameterRecord& record) {
    return {.target = planeStart(record, SurfacePlane::Working),
            .width = record.width,
            .height = record.height};
}

}  // namespace

void colorXEffectsKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                         KernelPointerArgument) {
    const PlaneView plane = workingPlane(*record);
    if (record->surface == nullptr || plane.width < 1 || plane.height < 1) return;
    const ColourX colour = colourXFrom(record->colour);
    const float singleA = std::bit_cast<float>(a);
    const float singleB = std::bit_cast<float>(b);
    const ColorXEffect effect = knownOp<ColorXEffect>(record->opCode).value_or(ColorXEffect::Ring);
    const std::int32_t amount = record->amount;

    if (effect == ColorXEffect::RandomDots) return paintRandomDot(plane, colour, singleA, singleB);
    // A spacing of 0 would never end and a negative one, like a negative radius, would
    // reach outside the picture; op codes 1 and up take an Amount below 1 as no effect.
    if (amount < 1) return;
    switch (effect) {
        case ColorXEffect::HorizontalLines:
            return paintHorizontalLines(plane, colour, amount);
        case ColorXEffect::VerticalLines:
            return paintVerticalLines(plane, colour, amount);
        case ColorXEffect::DotLattice:
            return paintDotLattice(plane, colour, amount);
        case ColorXEffect::Glow:
            return glowAroundColourX(plane, colour, spreadRadius(amount), singleA, singleB);
        case ColorXEffect::StreakUp:
        case ColorXEffect::StreakDown:
        case ColorXEffect::StreakLeft:
        case ColorXEffect::StreakRight:
            return streakFromColourX(plane, colour, effect, spreadRadius(amount), singleA, singleB);
        default:
            return brightenRing(plane, colour, amount, singleA, singleB);
    }
}

}  // namespace quillon
