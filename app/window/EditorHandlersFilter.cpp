#include <QPointer>
#include <cmath>

#include "app/adjustments/ColourStretch.h"
#include "app/adjustments/WhiteCrush.h"
#include "app/controls/BevelButton.h"
#include "app/window/EditorPanel.h"
#include "app/window/HandlerErrors.h"
#include "app/window/WindowSurface.h"
#include "filters/mFilterQ.h"

namespace quillon {
namespace {

// The finished sharpening replaces what the box shows, and goes over the window's
// surface as well, where the window's next repaint covers it again.
void showSharpened(platform::PictureBoxModel& box, QImage& sharpened, WindowSurface& surface) {
    gdi::DeviceContext result(&sharpened);
    gdi::BitBlt(box.hDC(), 0, 0, sharpened.width(), sharpened.height(), &result, 0, 0,
                gdi::SRCCOPY);
    gdi::BitBlt(surface.hDC(), 0, 0, box.image().width(), box.image().height(), box.hDC(), 0, 0,
                gdi::SRCCOPY);
    box.refresh();
}

}  // namespace

void EditorPanel::createFilterActions() {
    connectHandler(BevelButton9, &QPushButton::clicked, this, &EditorPanel::sharpenClicked);
    connectHandler(BevelButton10, &QPushButton::clicked, this, &EditorPanel::colourStretchClicked);
    connectHandler(BevelButton11, &QPushButton::clicked, this, &EditorPanel::whiteCrushClicked);
}

// Sharpens the picture box's own image. The engine's planes do not see it: the next
// effect shows the working plane without it, while "Save" keeps it.
//
// The filter lets other events run after every row, and they may draw into the box
// ("Open", a grab, an effect) or close the window and so delete the box and this panel.
// The filter therefore works on a copy, and the result is shown only if the panel is
// still there and nothing was drawn into the box meanwhile: what was drawn is newer and
// stays. A second click while the filter runs does nothing, as the busy filter would.
void EditorPanel::sharpenClicked() {
    if (mFilterQ::FilterBusy()) return;
    platform::PictureBoxModel& box = Picture1->model();
    WindowSurface surface(window_);
    gdi::BitBlt(Picture2->model().hDC(), 0, 0, surface.scaleWidth(), surface.scaleHeight(),
                surface.hDC(), 0, 0, gdi::SRCCOPY);
    const QPointer<EditorPanel> panel(this);
    const qint64 drawnBefore = box.image().cacheKey();
    QImage sharpened = box.image();
    std::int32_t progress = 0;
    mFilterQ::ApplyFilter(mFilterQ::kSharpenFilter, &sharpened, mFilterQ::kSharpenDamping,
                          progress);
    if (panel.isNull() || box.image().cacheKey() != drawnBefore) return;
    filterProgress = progress;
    showSharpened(box, sharpened, surface);
}

// Both adjustments work pixel by pixel on what the box shows, outside the engine.
void EditorPanel::colourStretchClicked() {
    ColourStretch(Picture1->model());
}

void EditorPanel::whiteCrushClicked() {
    WhiteCrush(Picture1->model());
}

}  // namespace quillon
