#include "app/WhiteCrush.h"

namespace quillon {

// Not written yet.
void WhiteCrush(platform::PictureBoxModel& box) { box.refresh(); }

}  // namespace quillon
