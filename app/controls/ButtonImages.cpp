#include "app/controls/ButtonImages.h"

#include <QStyle>
#include <array>

#include "app/controls/ImageList.h"

namespace quillon {
namespace {

struct ImageSource {
    const char* themeName;
    QStyle::StandardPixmap fallback;
};

// In the order of their numbers, starting at 1.
constexpr std::array<ImageSource, kButtonImageCount> kSources{{
    {"document-open", QStyle::SP_DialogOpenButton},
    {"media-seek-backward", QStyle::SP_MediaSeekBackward},
    {"media-skip-forward", QStyle::SP_MediaSkipForward},
    {"media-seek-forward", QStyle::SP_MediaSeekForward},
    {"media-playback-start", QStyle::SP_MediaPlay},
    {"media-playback-stop", QStyle::SP_MediaStop},
    {"go-up", QStyle::SP_ArrowUp},
    {"go-down", QStyle::SP_ArrowDown},
    {"document-save", QStyle::SP_DialogSaveButton},
    {"dialog-ok-apply", QStyle::SP_DialogApplyButton},
    {"edit-undo", QStyle::SP_DialogResetButton},
    {"dialog-information", QStyle::SP_MessageBoxInformation},
}};

}  // namespace

ImageList* createButtonImages(const QStyle& style, QObject* parent) {
    auto* images = new ImageList(parent);
    for (const ImageSource& source : kSources) {
        const QIcon fallback = style.standardIcon(source.fallback);
        images->add(QIcon::fromTheme(QString::fromLatin1(source.themeName), fallback));
    }
    return images;
}

}  // namespace quillon
