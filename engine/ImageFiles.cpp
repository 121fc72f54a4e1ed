// Pictures in and out of the bound box, and the colour chooser.
#include <exception>

#include "engine/clsASMpic.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "platform/PictureFiles.h"

namespace quillon {
namespace {

using platform::FileFilter;
using platform::PictureBoxModel;

const QString kOpenCaption = QStringLiteral("Load a Quillon Grabbed Frame");
const QString kSaveCaption = QStringLiteral("Save Picture file");
const QString kBitmapExtension = QStringLiteral(".bmp");

const std::vector<FileFilter>& openFilters() {
    static const std::vector<FileFilter> filters{
        {QStringLiteral("Grabbed Frames (*.fgr)"), QStringLiteral("*.fgr")},
        {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")}};
    return filters;
}

const std::vector<FileFilter>& saveFilters() {
    static const std::vector<FileFilter> filters{
        {QStringLiteral("Pictures (*.bmp)"), QStringLiteral("*.bmp")}};
    return filters;
}

// Load and save failures are the user's business, not the engine's: they are titled
// with the caption of the window the box stands in.
void showFileFailure(const PictureBoxModel& box, const QString& text) {
    platform::messages().show(box.parentCaption(), text, platform::MessageIcon::Critical);
}

// Pictures are always saved as bitmaps; a name that does not end in ".bmp" (in any case)
// gets it appended, even when it has another extension.
QString withBitmapExtension(const QString& name) {
    if (name.right(4).toLower() == kBitmapExtension) return name;
    return name + kBitmapExtension;
}

// Lets the window show the hourglass for the lifetime of a scope.
class BusyParent {
public:
    explicit BusyParent(PictureBoxModel& box) : box_(box) { box_.setParentBusy(true); }
    ~BusyParent() { box_.setParentBusy(false); }
    BusyParent(const BusyParent&) = delete;
    BusyParent& operator=(const BusyParent&) = delete;

private:
    PictureBoxModel& box_;
};

// The file is read completely before the box is touched, so a picture that cannot be
// read leaves the box, its picture and the engine's planes exactly as they were.
bool loadIntoBox(clsASMpic& engine, PictureBoxModel& box, const QString& path) {
    try {
        const platform::LoadedPicture loaded = platform::loadPicture(path);
        if (!loaded.ok()) return false;
        box.setVisible(false);
        box.setPicture(loaded.picture);
        BusyParent busy(box);
        engine.setPictureBox(box);
        box.refreshParent();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

// A given file name is loaded without a dialog (a grabbed frame); the file-name label is
// then emptied, since the file is the program's own and not one the user chose.
void clsASMpic::dialogShowOpen(const QString& Caption, const QString& sFileName) {
    if (PictureBoxMissing()) return;
    PictureBoxModel& box = *box_;
    QString path = sFileName;
    QString label;
    if (path.isEmpty()) {
        const QString title = Caption.isEmpty() ? kOpenCaption : Caption;
        const std::optional<QString> chosen =
            platform::fileDialogs().openFileName(title, openFilters());
        if (!chosen) return;
        path = label = *chosen;
    }
    const bool loaded = loadIntoBox(*this, box, path);
    // Also after a binding that failed: the box must not stay hidden.
    box.setVisible(true);
    if (!loaded) {
        showFileFailure(box, QStringLiteral("Error loading picture file"));
        return;
    }
    box.setFileLabelText(label);
}

// Saves what the box shows, which after drawing outside the engine (sharpen, colour
// stretch) or with AutoDraw off can differ from the working plane.
void clsASMpic::dialogShowSave(const QString& Caption) {
    if (PictureBoxMissing()) return;
    PictureBoxModel& box = *box_;
    const QString title = Caption.isEmpty() ? kSaveCaption : Caption;
    const std::optional<QString> chosen =
        platform::fileDialogs().saveFileName(title, saveFilters());
    if (!chosen) return;
    bool saved = false;
    try {
        saved = platform::savePictureAsBitmap(box.image(), withBitmapExtension(*chosen)).ok;
    } catch (const std::exception&) {
        saved = false;
    }
    if (!saved) showFileFailure(box, QStringLiteral("Error saving picture file"));
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
