#pragma once

#include "platform/PictureBoxModel.h"

namespace quillon {

void WhiteCrush(platform::PictureBoxModel& box);

}  // namespace quillon
