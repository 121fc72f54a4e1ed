#include "platform/widgets/QtFileDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <algorithm>

#include "platform/core/Gdi.h"

namespace quillon::platform {
namespace {

std::optional<QString> chosenPath(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path;
}

int customColourCount() {
    return std::min(int(CustomColours().size()), QColorDialog::customCount());
}

QColor colourFromBgr(std::uint32_t bgr) {
    return QColor::fromRgb(gdi::argbFromBgr(bgr));
}

std::uint32_t bgrFromColour(const QColor& colour) {
    return gdi::bgrFromArgb(colour.rgb());
}

}  // namespace

std::optional<QString> QtFileDialogs::openFileName(const QString& title,
                                                   const std::vector<FileFilter>& filters,
                                                   const QString& defaultExtension) {
    QFileDialog dialog(QApplication::activeWindow(), title, QString(), filterListText(filters));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultExtension);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? std::nullopt : chosenPath(chosen.constFirst());
}

// The caller asks before replacing a file, about the name it really writes (which may
// differ from the one chosen here); the program writes through a temporary file, so an
// interrupted save never leaves half a picture behind.
std::optional<QString> QtFileDialogs::saveFileName(const QString& title,
                                                   const std::vector<FileFilter>& filters) {
    return chosenPath(QFileDialog::getSaveFileName(QApplication::activeWindow(), title, QString(),
                                                   filterListText(filters), nullptr,
                                                   QFileDialog::DontConfirmOverwrite));
}

// Qt keeps one set of custom colours for the whole program; the caller's set is loaded
// before the dialog opens and read back after it is confirmed.
std::optional<ColourChoice> QtFileDialogs::chooseColour(const CustomColours& customColours) {
    for (int i = 0; i < customColourCount(); ++i)
        QColorDialog::setCustomColor(i, colourFromBgr(customColours[std::size_t(i)]));
    QColorDialog dialog(QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;

    ColourChoice choice{bgrFromColour(dialog.selectedColor()), customColours};
    for (int i = 0; i < customColourCount(); ++i)
        choice.customColours[std::size_t(i)] = bgrFromColour(QColorDialog::customColor(i));
    return choice;
}

}  // namespace quillon::platform
