#include "app/window/WindowPlacement.h"

#include <QWidget>
#include <array>

#include "app/window/SingleText.h"
#include "platform/core/Application.h"
#include "platform/core/Display.h"
#include "platform/core/SettingsStore.h"

namespace quillon {

void saveMainWindowPlacement(const QWidget& window) {
    const QRect outer = window.frameGeometry();
    const double twipsX = platform::Display::twipsPerPixelX();
    const double twipsY = platform::Display::twipsPerPixelY();
    const std::array<std::pair<const char*, double>, 4> placement{{
        {"MainLeft", outer.x() * twipsX},
        {"MainTop", outer.y() * twipsY},
        {"MainWidth", outer.width() * twipsX},
        {"MainHeight", outer.height() * twipsY},
    }};
    for (const auto& [key, twips] : placement) {
        platform::saveSetting(platform::applicationTitle(), QStringLiteral("Settings"),
                              QString::fromLatin1(key), textFromSingle(float(twips)));
    }
}

}  // namespace quillon
