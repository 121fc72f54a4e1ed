#pragma once

#include <QImage>

namespace quillon {

// The program's own 32 x 32 icon: a small framed landscape with a play mark. It is the
// window icon and the picture the editor starts with.
QImage applicationIconImage();

}  // namespace quillon
