#pragma once

namespace quillon::fuzzing {

// Sets up, once per process, what the engine and the tool expect around them: an
// application object (so picture plugins load as in the tool), a display of 32 bits and
// one twip a pixel, message boxes that go nowhere, and Qt's own warnings silenced. Ending
// the application after a drawing failure is a finding: it aborts, so the fuzzer keeps
// the input.
void prepareSurroundings();

}  // namespace quillon::fuzzing
