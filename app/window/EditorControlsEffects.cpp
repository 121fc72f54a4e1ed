#include <QGroupBox>

#include "app/controls/BevelButton.h"
#include "app/controls/WindowGeometry.h"
#include "app/window/EditorControls.h"
#include "app/window/EditorPanel.h"
#include "engine/PalEffectsOps.h"

namespace quillon {
namespace {

struct StepButton {
    const char* caption;
    const char* tooltip;
};

// Indexed by op code. Indices 6 and 7, the brightening and darkening steps, carry the
// caption "Reset" and stand where nobody sees them.
constexpr StepButton kStepButtons[11] = {
    {"RED +", "Increases Red"},
    {"RED -", "Decreases Red"},
    {"GREEN +", "Increases Green"},
    {"GREEN -", "Decreases Green"},
    {"BLUE +", "Increases Blue"},
    {"BLUE -", "Decreases Blue"},
    {"Reset", ""},
    {"Reset", ""},
    {"Rotate C+", "Rotates Colours Up"},
    {"Rotate C-", "Rotates Colours Down"},
    {"Add Noise", "Add noise to the image"},
};

// Columns of the frame, left to right, in twips: red, green, blue, rotation, noise and
// negative. The "+" button of a pair stands above its "-" button.
constexpr int kColumnLeft[6] = {90, 1245, 2400, 3555, 4710, 5865};
constexpr int kColumnWidth = 1080;
constexpr int kUpperTop = 240, kLowerTop = 540, kRowHeight = 270;
constexpr int kTallHeight = kLowerTop + kRowHeight - kUpperTop;

struct Place {
    int left, top, width, height;
};

Place stepButtonPlace(int index) {
    if (index == codeOf(PalEffect::Brighten))
        return {300, 2100, 855, 255};  // below the frame's bottom edge
    if (index == codeOf(PalEffect::Darken)) return {300, 2340, 855, 255};
    if (index == codeOf(PalEffect::Noise))
        return {kColumnLeft[4], kUpperTop, kColumnWidth, kTallHeight};
    const int column = index < 6 ? index / 2 : 3;
    return {kColumnLeft[column], index % 2 == 0 ? kUpperTop : kLowerTop, kColumnWidth, kRowHeight};
}

}  // namespace

void EditorPanel::createEffectsFrame() {
    Frame5 = makeFrame(*this, QStringLiteral("Frame5"), tr("Effects"));
    placeInTwips(*Frame5, 120, 5760, 7035, 915);
    for (int index = 0; index < int(cmd_incrPalFX.size()); ++index) {
        const StepButton& design = kStepButtons[index];
        cmd_incrPalFX[index] = makeButton(*Frame5, arrayElementName("cmd_incrPalFX", index),
                                          tr(design.caption), tr(design.tooltip));
        const Place place = stepButtonPlace(index);
        placeInTwips(*cmd_incrPalFX[index], place.left, place.top, place.width, place.height);
    }
    // Nobody sees the two "Reset" steps, so no Tab may land on them: Space would then
    // brighten or darken the picture with nothing visible focused.
    cmd_incrPalFX[codeOf(PalEffect::Brighten)]->setFocusPolicy(Qt::NoFocus);
    cmd_incrPalFX[codeOf(PalEffect::Darken)]->setFocusPolicy(Qt::NoFocus);
    cmd_palFX_0 = makeButton(*Frame5, QStringLiteral("cmd_palFX_0"), tr("Negative"),
                             tr("Inverts the image to Negative"));
    placeInTwips(*cmd_palFX_0, kColumnLeft[5], kUpperTop, kColumnWidth, kTallHeight);
}

}  // namespace quillon
