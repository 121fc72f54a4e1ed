#pragma once

#include <QString>

#include "tools/fx/FxResult.h"

namespace quillon {
class clsASMpic;
}

namespace quillon::fx {

// Refuses an output whose ending names no picture format this build can write, before
// any work is done. A .raw output is always possible.
Status checkOutputFormat(const QString& path);

// Writes the result: for .raw the working plane's bytes as the engine holds them, for
// anything else what the bound box shows, in the format its ending names. The file
// appears complete or not at all; an existing file is replaced only on success. An output
// that is a device, a FIFO or a socket (or a link to one) is written in place instead.
Status writeOutput(const QString& path, const clsASMpic& engine);

}  // namespace quillon::fx
