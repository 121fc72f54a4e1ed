#include "app/controls/BevelButton.h"
#include "app/window/EditorPanel.h"
#include "app/window/HandlerErrors.h"
#include "engine/clsASMpic.h"

namespace quillon {

void EditorPanel::createFileActions() {
    connectHandler(cmd_progFlow_0, &QPushButton::clicked, this, &EditorPanel::openClicked);
    connectHandler(cmd_progFlow_1, &QPushButton::clicked, this, &EditorPanel::saveClicked);
    connectHandler(cmd_progFlow_3, &QPushButton::clicked, this, &EditorPanel::resetImageClicked);
}

// The engine shows its open dialog, loads the chosen picture into the box and binds it
// anew, so the picture becomes the one "Reset Image" returns to.
void EditorPanel::openClicked() {
    engine().dialogShowOpen();
}

// Saves what the box shows, the direct adjustments and sharpening included.
void EditorPanel::saveClicked() {
    engine().dialogShowSave(QString());
}

void EditorPanel::resetImageClicked() {
    engine().ResetPic();
}

}  // namespace quillon
