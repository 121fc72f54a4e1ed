// Runs the engine through a sequence of operations with arbitrary arguments, on pictures
// of 1 x 1 to 64 x 64 pixels: every kernel entry point with any op code, amounts over the
// whole 16-bit range, factors and angles of any value, centres anywhere; undo, reset and
// redraws between them; sharpening, stretching and crushing what the box shows; binding
// the box anew at another size; with the kernels' AVX2 paths or their baseline ones. Any
// exception an operation throws is what the window reports as a run-time error;
// afterwards the engine must still agree with itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <exception>
#include <iterator>

#include "app/adjustments/ColourStretch.h"
#include "app/adjustments/WhiteCrush.h"
#include "engine/SimdDispatch.h"
#include "engine/clsASMpic.h"
#include "filters/mFilterQ.h"
#include "fuzz/FuzzSurroundings.h"
#include "fuzz/FuzzedArguments.h"

namespace {

using namespace quillon;
using namespace quillon::fuzzing;

constexpr int kLargestSide = 64;
constexpr int kMostOperations = 32;

struct Session {
    FuzzedDataProvider& data;
    platform::PictureBoxModel& box;
    clsASMpic& engine;
};

void bindAnew(Session& s) {
    const int width = s.data.ConsumeIntegralInRange(1, kLargestSide);
    const int height = s.data.ConsumeIntegralInRange(1, kLargestSide);
    s.box.setOuterSizePixels(width, height);
    s.box.setPicture(fuzzedPicture(s.data, width, height));
    s.engine.setPictureBox(s.box);
}

void palEffects(Session& s) {
    const std::int32_t opCode = fuzzedOpCode(s.data);
    s.engine.ASM_PalEffects(opCode, fuzzedAmount(s.data), fuzzedColour(s.data));
}
void incrementalPalEffects(Session& s) {
    s.engine.ASM_IncrementalPalEffects(fuzzedOpCode(s.data), fuzzedAmount(s.data));
}
void pixelEffects(Session& s) {
    const std::int32_t opCode = fuzzedOpCode(s.data);
    s.engine.ASM_PixelEffects(opCode, fuzzedAmount(s.data), fuzzedColour(s.data));
}
void colorXEffects(Session& s) {
    const std::int32_t opCode = fuzzedOpCode(s.data);
    const std::int32_t colour = fuzzedColour(s.data);
    const std::int16_t amount = fuzzedAmount(s.data);
    const auto x = fuzzedCentre(s.data);
    s.engine.ASM_ColorXEffects(opCode, colour, amount, x, fuzzedCentre(s.data));
}
void magnify(Session& s) {
    const float factor = fuzzedFactor(s.data);
    const auto x = fuzzedCentre(s.data);
    const auto y = fuzzedCentre(s.data);
    const bool antiAlias = s.data.ConsumeBool();
    s.engine.ASM_Magnify(factor, x, y, antiAlias, fuzzedColour(s.data));
}
void rotate(Session& s) {
    const std::int16_t angle = fuzzedAmount(s.data);
    const bool antiAlias = s.data.ConsumeBool();
    const bool sourcePic = s.data.ConsumeBool();
    const std::int32_t colour = fuzzedColour(s.data);
    const auto x = fuzzedCentre(s.data);
    s.engine.ASM_Rotate(angle, antiAlias, sourcePic, colour, x, fuzzedCentre(s.data));
}
void undo(Session& s) {
    s.engine.UndoLast();
}
void undoWithoutDrawing(Session& s) {
    s.engine.UndoLastDontDraw();
}
void reset(Session& s) {
    s.engine.ResetPic();
}
void autoDraw(Session& s) {
    s.engine.setAutoDraw(s.data.ConsumeBool());
}
void drawNow(Session& s) {
    s.engine.DrawNow();
}
void sharpen(Session& s) {
    const std::int32_t filter = s.data.ConsumeIntegralInRange(0, 2);
    std::int32_t progress = 0;
    mFilterQ::ApplyFilter(filter, s.box.imageHandle(), fuzzedFilterDamping(s.data), progress);
    if (progress < 0 || progress > 100) std::abort();
}
void stretch(Session& s) {
    ColourStretch(s.box);
}
void crush(Session& s) {
    WhiteCrush(s.box);
}

using Operation = void (*)(Session&);
constexpr Operation kOperations[] = {
    bindAnew,     palEffects,    incrementalPalEffects,
    pixelEffects, colorXEffects, magnify,
    rotate,       undo,          undoWithoutDrawing,
    reset,        autoDraw,      drawNow,
    sharpen,      stretch,       crush,
};

// The record, the surface and the box must describe the same picture after every
// operation, whether it finished or threw.
void checkConsistent(const Session& s) {
    const PixelSurface& surface = s.engine.surface();
    const KernelParameterRecord& record = s.engine.record();
    const bool agree = s.engine.boundBox() == &s.box && !surface.empty() &&
                       surface.width() == record.width && surface.height() == record.height &&
                       record.surface == surface.base() &&
                       surface.planeBytes() == 4 * std::size_t(record.width) * record.height &&
                       s.box.image().size() == QSize(record.width, record.height);
    if (!agree) std::abort();
}

void runOne(Session& s) {
    const Operation operation = s.data.PickValueInArray(kOperations);
    try {
        operation(s);
    } catch (const std::exception&) {
        // Reported to the user as a run-time error; the engine carries on.
    }
    checkConsistent(s);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    prepareSurroundings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    // The kernels take the best vector level the processor has; capping the level reaches,
    // on this machine too, the paths other processors take.
    static const std::vector<simd::Level> levels = simd::levels();
    simd::setCeiling(levels[data.ConsumeIntegralInRange<std::size_t>(0, levels.size() - 1)]);
    platform::PictureBoxModel box;
    clsASMpic engine;
    Session session{data, box, engine};
    bindAnew(session);
    checkConsistent(session);
    for (int step = 0; step < kMostOperations && data.remaining_bytes() > 0; ++step)
        runOne(session);
    return 0;
}
