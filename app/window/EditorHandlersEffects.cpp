#include <QScrollBar>

#include "app/controls/BevelButton.h"
#include "app/window/EditorPanel.h"
#include "app/window/HandlerErrors.h"
#include "engine/PalEffectsOps.h"
#include "engine/PixelEffectsOps.h"
#include "engine/clsASMpic.h"

namespace quillon {
namespace {

constexpr int kBrightnessMiddle = 256;

}  // namespace

void EditorPanel::createEffectActions() {
    for (int index = 0; index < int(cmd_incrPalFX.size()); ++index) {
        connectHandler(cmd_incrPalFX[index], &QPushButton::clicked, this,
                       [index](EditorPanel* panel) { panel->stepClicked(index); });
    }
    connectHandler(cmd_palFX_0, &QPushButton::clicked, this, &EditorPanel::negativeClicked);
    connectHandler(cmd_pixFX_0, &QPushButton::clicked, this, &EditorPanel::smoothClicked);
    connectHandler(HScroll1, &QScrollBar::valueChanged, this, &EditorPanel::brightnessChanged);
}

// The button's index is the palette kernel's op code.
void EditorPanel::stepClicked(std::int32_t index) {
    const std::int32_t OpCode = index;
    engine().ASM_IncrementalPalEffects(OpCode, factor());
    brightnessStep = false;
}

void EditorPanel::negativeClicked() {
    engine().ASM_PalEffects(codeOf(PalEffect::Negative), factor(), colourX());
    brightnessStep = false;
}

void EditorPanel::smoothClicked() {
    engine().ASM_PixelEffects(codeOf(PixelEffect::Smooth), factor(), colourX());
    brightnessStep = false;
}

// The bar's position is absolute: a step first takes back the previous step of the same
// series from the engine's undo plane, then applies the whole distance from the middle to
// the picture as it stood before the series. Below the middle the amount is 255 - v, so
// the leftmost position darkens by 254.
void EditorPanel::brightnessChanged() {
    if (brightnessStep) engine().UndoLastDontDraw();
    const int value = HScroll1->value();
    if (value == kBrightnessMiddle) return;
    if (value < kBrightnessMiddle) {
        engine().ASM_IncrementalPalEffects(codeOf(PalEffect::Darken), std::int16_t(255 - value));
    } else {
        engine().ASM_IncrementalPalEffects(codeOf(PalEffect::Brighten),
                                           std::int16_t(value - kBrightnessMiddle));
    }
    brightnessStep = true;
}

}  // namespace quillon
