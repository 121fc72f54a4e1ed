#include "app/controls/ImageList.h"

namespace quillon {

ImageList::ImageList(QObject* parent) : QObject(parent) {}

int ImageList::add(const QIcon& image) {
    images_.append(image);
    return count();
}

QIcon ImageList::image(int number) const {
    return contains(number) ? images_[number - 1] : QIcon();
}

}  // namespace quillon
