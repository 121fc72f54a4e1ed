#pragma once

#include "tools/fx/FxArguments.h"
#include "tools/fx/FxResult.h"

namespace quillon {
class clsASMpic;
namespace platform {
class PictureBoxModel;
}
}  // namespace quillon

namespace quillon::fx {

// Reads the plan's input into the box and binds the engine to it. A picture file fills a
// box of its own size over the plan's background; a raw plane fills a box of the given
// size and becomes the engine's original, working and undo planes byte for byte.
Status loadInput(const FxPlan& plan, platform::PictureBoxModel& box, clsASMpic& engine);

}  // namespace quillon::fx
