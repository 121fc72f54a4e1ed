#pragma once

#include <QString>

namespace quillon::platform {

// The file a grabbed video frame is written to and loaded from. It lives in a directory
// only the user can enter, so no other account can plant a picture there or read the
// frame back.
QString grabbedFramePath();

// Deletes the grabbed frame; a missing file or any other failure is ignored.
void deleteGrabbedFrame();

// Lets tests point the file at a directory of their own ("" restores the default).
void overrideGrabbedFrameDirectory(const QString& directory);

}  // namespace quillon::platform
