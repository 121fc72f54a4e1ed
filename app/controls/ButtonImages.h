#pragma once

class QObject;
class QStyle;

namespace quillon {

class ImageList;

// Numbers of the images in the main window's button image list.
enum ButtonImage : int {
    kImageOpen = 1,
    kImageStepBack = 2,
    kImagePosition = 3,
    kImageStepForward = 4,
    kImagePlay = 5,
    kImageStop = 6,
    kImageFaster = 7,
    kImageSlower = 8,
    kImageSave = 9,
    kImageSelected = 10,
    kImageReset = 11,
    kImageInformation = 12,
    kButtonImageCount = 12,
};

// Builds the button images from the desktop theme where it has them and from the
// style's standard icons otherwise.
ImageList* createButtonImages(const QStyle& style, QObject* parent);

}  // namespace quillon
