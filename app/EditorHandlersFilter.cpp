#include <cmath>

#include "app/BevelButton.h"
#include "app/ColourStretch.h"
#include "app/EditorPanel.h"
#include "app/HandlerErrors.h"
#include "app/WhiteCrush.h"
#include "app/WindowSurface.h"
#include "filters/mFilterQ.h"

namespace quillon {
namespace {

constexpr std::int32_t kSharpenFilter = 1;
constexpr std::int32_t kSharpenDamping = 2;

}  // namespace

void EditorPanel::createFilterActions() {
    connect(BevelButton9, &QPushButton::clicked, this, &EditorPanel::sharpenClicked);
    connect(BevelButton10, &QPushButton::clicked, this, &EditorPanel::colourStretchClicked);
    connect(BevelButton11, &QPushButton::clicked, this, &EditorPanel::whiteCrushClicked);
}

// Sharpens the picture box's own image in place. The engine's planes do not see it: the
// next effect shows the working plane without it, while "Save" keeps it. The filter lets
// other events run while it works; a second click meanwhile makes its copies, but its
// filter call returns at once.
void EditorPanel::sharpenClicked() {
    runHandler([&] {
        platform::PictureBoxModel& box = Picture1->model();
        WindowSurface surface(window_);
        gdi::BitBlt(Picture2->model().hDC(), 0, 0, surface.scaleWidth(), surface.scaleHeight(),
                    surface.hDC(), 0, 0, gdi::SRCCOPY);
        mFilterQ::ApplyFilter(kSharpenFilter, box.imageHandle(), kSharpenDamping, filterProgress);
        gdi::BitBlt(surface.hDC(), 0, 0, box.image().width(), box.image().height(), box.hDC(), 0, 0,
                    gdi::SRCCOPY);
        box.refresh();
    });
}

// Both adjustments work pixel by pixel on what the box shows, outside the engine.
void EditorPanel::colourStretchClicked() {
    runHandler([&] { ColourStretch(Picture1->model()); });
}

void EditorPanel::whiteCrushClicked() {
    runHandler([&] { WhiteCrush(Picture1->model()); });
}

}  // namespace quillon
