#pragma once

#include "platform/core/Outcome.h"

namespace quillon::fx {

// Every step of the tool returns a value or the one line that says why there is none, so
// the first failure travels back to the runner, which prints it and stops.
template <typename T>
using Result = platform::Outcome<T>;

using platform::Done;
using platform::Status;
using platform::succeeded;

}  // namespace quillon::fx
