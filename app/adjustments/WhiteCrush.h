#pragma once

#include "platform/core/PictureBoxModel.h"

namespace quillon {

void WhiteCrush(platform::PictureBoxModel& box);

}  // namespace quillon
