#include <QGroupBox>
#include <QLabel>

#include "app/controls/BevelButton.h"
#include "app/controls/WindowGeometry.h"
#include "app/window/EditorControls.h"
#include "app/window/EditorPanel.h"

namespace quillon {

// The uncaptioned frame under the picture: "Open", "Save" and the name of the file last
// opened; "Reset Image" stands beside it.
void EditorPanel::createFileControls() {
    Frame3 = makeFrame(*this, QStringLiteral("Frame3"), QString());
    placeInTwips(*Frame3, 120, 5100, 5715, 600);

    cmd_progFlow_0 =
        makeButton(*Frame3, QStringLiteral("cmd_progFlow_0"), tr("Open"), tr("Open a Saved File"));
    placeInTwips(*cmd_progFlow_0, 120, 150, 1095, 330);
    cmd_progFlow_1 = makeButton(*Frame3, QStringLiteral("cmd_progFlow_1"), tr("Save"),
                                tr("Save the edited image"));
    placeInTwips(*cmd_progFlow_1, 1275, 150, 1095, 330);
    Label5 = makeLabel(*Frame3, QStringLiteral("Label5"), tr("File:"));
    placeInTwips(*Label5, 2490, 195, 435, 255);
    // A long path is cut off at the frame's edge; the label keeps the whole text.
    Label6 = makeLabel(*Frame3, QStringLiteral("Label6"), QStringLiteral("*.*"));
    placeInTwips(*Label6, 2970, 195, 2625, 255);

    cmd_progFlow_3 = makeButton(*this, QStringLiteral("cmd_progFlow_3"), tr("Reset Image"),
                                tr("Resets the image to its original format"));
    placeInTwips(*cmd_progFlow_3, 5955, 5190, 1200, 420);
}

}  // namespace quillon
