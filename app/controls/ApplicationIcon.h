#pragma once

#include <QIcon>
#include <QImage>

namespace quillon {

// The program's own 32 x 32 icon: a small framed landscape with a play mark. It is the
// picture the editor starts with, and the window icon when no icon theme has ours.
QImage applicationIconImage();

// The same picture drawn on a side x side square. Any side but 32 is drawn smoothed,
// so larger icons have clean slopes instead of magnified steps.
QImage applicationIconImage(int side);

// The window icon: "quillon" of the icon theme where it is installed, otherwise the
// drawn picture at the usual icon sizes, so it stays sharp at every screen scale.
QIcon applicationIcon();

}  // namespace quillon
