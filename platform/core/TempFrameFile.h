#pragma once

#include <QString>

namespace quillon::platform {

// The file a grabbed video frame is written to and loaded from. It lives in a folder of
// this window's own, made owner-only inside the user's private cache folder (or, when
// that is not a private folder of the user's, inside the runtime folder), so no other
// account can plant a picture there or read the frame back, and another window's frame
// is never this one's.
QString grabbedFramePath();

// Deletes the grabbed frame and its folder; a missing file or any other failure is ignored.
void deleteGrabbedFrame();

// Lets tests put the cache folder somewhere of their own ("" restores the default).
void overrideGrabbedFrameDirectory(const QString& directory);

}  // namespace quillon::platform
