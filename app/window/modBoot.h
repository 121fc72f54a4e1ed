#pragma once

namespace quillon::modBoot {

// Starts the program: creates the main window, loads it and shows it without waiting.
// The caller then runs the event loop.
void Main();

}  // namespace quillon::modBoot
