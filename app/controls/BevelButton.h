#pragma once

#include <QPointer>
#include <QPushButton>
#include <QString>

#include "app/controls/ImageList.h"

namespace quillon {

// The push button of every window: a caption, a tooltip, and optionally one image of
// the window's image list beside the caption. The image is chosen by its key, a text
// holding the image's number; the key reads back exactly as it was written.
class BevelButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString imageKey READ imageKey WRITE setImageKey)
public:
    explicit BevelButton(const QString& caption, QWidget* parent = nullptr);

    void setImageList(const ImageList* images);
    const ImageList* imageList() const { return images_; }

    QString imageKey() const { return imageKey_; }
    // "10" shows image 10; "" or a key naming no image of the list shows none.
    void setImageKey(const QString& key);
    void setImage(int number);
    // The number of the image on show, 0 when there is none.
    int shownImage() const { return shownImage_; }

private:
    void showImage();

    QPointer<const ImageList> images_;
    QString imageKey_;
    int shownImage_ = 0;
};

}  // namespace quillon
