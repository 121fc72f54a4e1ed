#pragma once

#include <QString>
#include <functional>

namespace quillon::platform {

// The application's title and version numbers.
QString applicationTitle();
int versionMajor();
int versionMinor();
int versionRevision();

// Lets the window system deliver the events waiting for it, once.
void processPendingEvents();

// Ends the program at once after an unrecoverable drawing failure. Tests and tools
// install their own handler; the default quits with status 1.
[[noreturn]] void endApplicationNow();
void setEndApplicationHandler(std::function<void()> handler);

}  // namespace quillon::platform
