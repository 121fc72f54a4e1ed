#pragma once

#include "platform/PictureBoxModel.h"

namespace quillon {

void ColourStretch(platform::PictureBoxModel& box);

}  // namespace quillon
