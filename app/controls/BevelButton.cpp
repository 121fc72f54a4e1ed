#include "app/controls/BevelButton.h"

#include <QFontDatabase>

namespace quillon {
namespace {

// The buttons were designed in Times New Roman; where the font is missing the
// button keeps the desktop's font rather than a random substitute.
void useDesignedFont(QPushButton& button) {
    const QString family = QStringLiteral("Times New Roman");
    if (!QFontDatabase::families().contains(family)) return;
    QFont font = button.font();
    font.setFamily(family);
    button.setFont(font);
}

}  // namespace

BevelButton::BevelButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    useDesignedFont(*this);
}

void BevelButton::setImageList(const ImageList* images) {
    images_ = images;
    showImage();
}

void BevelButton::setImageKey(const QString& key) {
    imageKey_ = key;
    showImage();
}

void BevelButton::setImage(int number) {
    setImageKey(number > 0 ? QString::number(number) : QString());
}

void BevelButton::showImage() {
    bool isNumber = false;
    const int number = imageKey_.trimmed().toInt(&isNumber);
    const bool shown = isNumber && images_ != nullptr && images_->contains(number);
    shownImage_ = shown ? number : 0;
    setIcon(shown ? images_->image(number) : QIcon());
    if (shown) setIconSize(images_->imageSize());
}

}  // namespace quillon
