// Pictures in and out of the bound box, and the colour chooser.
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QStringList>
#include <exception>
#include <new>
#include <optional>

#include "engine/clsASMpic.h"
#include "platform/core/FileDialogs.h"
#include "platform/core/MessageBox.h"
#include "platform/core/PictureFiles.h"

namespace quillon {
namespace {

using platform::FileFilter;
using platform::PictureBoxModel;

const QString kOpenCaption = QStringLiteral("Load a Quillon Grabbed Frame");
const QString kSaveCaption = QStringLiteral("Save Picture file");
const QString kBitmapExtension = QStringLiteral(".bmp");

// Every name the loader's plugins read, as "*.bmp *.gif *.jpeg ...". The loader goes by
// content, so this list only narrows what the dialog shows.
QString readablePatterns() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return patterns.join(u' ');
}

// The grabbed frames first, as the program's own files; "All Files" matches every name,
// with a dot or without.
const std::vector<FileFilter>& openFilters() {
    static const std::vector<FileFilter> filters{
        {QStringLiteral("Grabbed Frames (*.fgr)"), QStringLiteral("*.fgr")},
        {QStringLiteral("Pictures"), readablePatterns()},
        {QStringLiteral("All Files (*)"), QStringLiteral("*")}};
    return filters;
}

const std::vector<FileFilter>& saveFilters() {
    static const std::vector<FileFilter> filters{
        {QStringLiteral("Pictures (*.bmp)"), QStringLiteral("*.bmp")}};
    return filters;
}

// Load and save failures are the user's business, not the engine's: they are titled
// with the caption of the window the box stands in.
void showFileFailure(const platform::EditorHost& window, const QString& text) {
    platform::messages().show(window.caption(), text, platform::MessageIcon::Critical);
}

// Pictures are always saved as bitmaps; a name that does not end in ".bmp" (in any case)
// gets it appended, even when it has another extension.
QString withBitmapExtension(const QString& name) {
    if (name.right(4).toLower() == kBitmapExtension) return name;
    return name + kBitmapExtension;
}

// Asks for a name until the user cancels, picks a file that does not exist yet, or agrees
// to replace the one that does. The question names the file really written, with the
// bitmap extension the user may not have typed; "No" goes back to the dialog, as in the
// system's own save dialog.
std::optional<QString> chosenSaveName(const QString& title) {
    for (;;) {
        const std::optional<QString> chosen =
            platform::fileDialogs().saveFileName(title, saveFilters());
        if (!chosen) return std::nullopt;
        const QString name = withBitmapExtension(*chosen);
        if (!QFileInfo::exists(name) || platform::confirmReplace(title, name)) return name;
    }
}

// Lets the window show the hourglass for the lifetime of a scope.
class BusyWindow {
public:
    explicit BusyWindow(platform::EditorHost& window) : window_(window) { window_.setBusy(true); }
    ~BusyWindow() { window_.setBusy(false); }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    platform::EditorHost& window_;
};

// A picture larger than the box is shown whole: scaled down to fit, its proportions kept,
// centred on the box's background. The engine binds to what the box shows, so it edits
// this box-sized picture; a picture that fits is shown as it is, at the top-left.
QImage wholeInBox(const QImage& picture, const PictureBoxModel& box) {
    const QSize boxSize = box.image().size();
    const QSize size = picture.size();
    if (boxSize.isEmpty() || (size.width() <= boxSize.width() && size.height() <= boxSize.height()))
        return picture;
    const QSize fitted = size.scaled(boxSize, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    QImage shown(boxSize, QImage::Format_RGB32);
    shown.fill(gdi::argbFromBgr(box.backColor()));
    QPainter painter(&shown);
    painter.drawImage((boxSize.width() - fitted.width()) / 2,
                      (boxSize.height() - fitted.height()) / 2,
                      picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return shown;
}

// The second line of the load failure message: which file, and why.
QString loadFailureLine(const QString& path, const platform::LoadedPicture& loaded) {
    using platform::LoadFailure;
    const QString name = QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
    const QString detail = loaded.error().isEmpty() ? QString() : " (" + loaded.error() + ")";
    switch (loaded.kind()) {
        case LoadFailure::UnsupportedFormat:
            return name + QStringLiteral(": not a picture in a format that can be read");
        case LoadFailure::Damaged:
            return name + QStringLiteral(": the picture is damaged") + detail;
        case LoadFailure::TooLarge:
        case LoadFailure::TooManyPixels:
            return name + QStringLiteral(": the picture is too large") + detail;
        case LoadFailure::Unreadable:
        case LoadFailure::None:
            break;
    }
    return name + QStringLiteral(": the file cannot be read") + detail;
}

// The file is read completely before the box is touched, so a picture that cannot be
// read leaves the box, its picture and the engine's planes exactly as they were. Answers
// why it failed, or nothing.
std::optional<QString> loadIntoBox(clsASMpic& engine, PictureBoxModel& box, const QString& path) {
    using platform::LoadedPicture;
    try {
        const LoadedPicture loaded = platform::loadPicture(path);
        if (!loaded.ok()) return loadFailureLine(path, loaded);
        const QImage shown = wholeInBox(loaded.value(), box);
        box.setVisible(false);
        box.setPicture(shown);
        BusyWindow busy(engine.host());
        engine.setPictureBox(box);
        engine.host().repaintWindow();
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return loadFailureLine(path, LoadedPicture::failure(QStringLiteral("not enough memory"),
                                                            platform::LoadFailure::TooLarge));
    } catch (const std::exception& failure) {
        return loadFailureLine(path,
                               LoadedPicture::failure(QString::fromLocal8Bit(failure.what())));
    }
}

}  // namespace

void clsASMpic::dialogShowOpen(const QString& Caption) {
    if (PictureBoxMissing()) return;
    const QString title = Caption.isEmpty() ? kOpenCaption : Caption;
    const std::optional<QString> chosen =
        platform::fileDialogs().openFileName(title, openFilters(), QString());
    if (chosen) openPictureFile(*chosen, *chosen);
}

// A grabbed frame is loaded without a name beside it: the file is the program's own, not
// one the user chose.
void clsASMpic::openPictureFile(const QString& path, const QString& shownName) {
    if (PictureBoxMissing()) return;
    PictureBoxModel& box = *box_;
    const std::optional<QString> failure = loadIntoBox(*this, box, path);
    // Also after a binding that failed: the box must not stay hidden.
    box.setVisible(true);
    if (failure) {
        showFileFailure(host(), QStringLiteral("Error loading picture file\n") + *failure);
        return;
    }
    host().showFileName(shownName);
}

// Saves what the box shows, which after drawing outside the engine (sharpen, colour
// stretch) or with AutoDraw off can differ from the working plane.
void clsASMpic::dialogShowSave(const QString& Caption) {
    if (PictureBoxMissing()) return;
    PictureBoxModel& box = *box_;
    const QString title = Caption.isEmpty() ? kSaveCaption : Caption;
    const std::optional<QString> name = chosenSaveName(title);
    if (!name) return;
    bool saved = false;
    try {
        saved = platform::savePictureAsBitmap(box.image(), *name).ok();
    } catch (const std::exception&) {
        saved = false;
    }
    if (!saved) showFileFailure(host(), QStringLiteral("Error saving picture file"));
}

std::int32_t clsASMpic::dialogChoseColor() {
    if (PictureBoxMissing()) return 0;
    const std::optional<platform::ColourChoice> choice =
        platform::fileDialogs().chooseColour(customColours_);
    if (!choice) return -1;
    customColours_ = choice->customColours;
    return std::int32_t(choice->colour & 0x00FFFFFF);
}

}  // namespace quillon
