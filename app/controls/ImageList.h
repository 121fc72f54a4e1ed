#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSize>

namespace quillon {

// The images a window's buttons can show, numbered from 1 in the order they were added.
class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(QObject* parent = nullptr);

    // Appends an image and returns its number.
    int add(const QIcon& image);
    int count() const { return int(images_.size()); }
    bool contains(int number) const { return number >= 1 && number <= count(); }
    // A null icon for a number outside 1..count().
    QIcon image(int number) const;

    QSize imageSize() const { return imageSize_; }
    void setImageSize(const QSize& size) { imageSize_ = size; }

private:
    QList<QIcon> images_;
    QSize imageSize_{16, 16};
};

}  // namespace quillon
