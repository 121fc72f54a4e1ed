#include "app/ColourStretch.h"

namespace quillon {

// Not written yet.
void ColourStretch(platform::PictureBoxModel& box) { box.refresh(); }

}  // namespace quillon
