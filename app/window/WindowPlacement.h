#pragma once

class QWidget;

namespace quillon {

// Writes where the main window stands: "MainLeft", "MainTop", "MainWidth" and
// "MainHeight", its outer frame in twips, under the application's title and "Settings".
void saveMainWindowPlacement(const QWidget& window);

}  // namespace quillon
