#include "app/MediaPanel.h"

#include "app/WindowGeometry.h"

namespace quillon {

MediaPanel::MediaPanel(QWidget* parent) : QGroupBox(tr("Media Player"), parent) {
    setObjectName(QStringLiteral("FraMedia"));
    placeInTwips(*this, 120, 60, 6135, 7755);
}

void MediaPanel::load() {
    // Nothing to prepare until the video component is on the panel.
}

}  // namespace quillon
