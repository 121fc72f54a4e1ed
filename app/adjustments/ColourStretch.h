#pragma once

#include "platform/core/PictureBoxModel.h"

namespace quillon {

void ColourStretch(platform::PictureBoxModel& box);

}  // namespace quillon
