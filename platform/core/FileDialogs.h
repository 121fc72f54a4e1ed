#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/ServiceSlot.h"

namespace quillon::platform {

// One entry of a file dialog's type list: the text the user sees and the pattern it
// stands for, e.g. {"Grabbed Frames (*.fgr)", "*.fgr"}.
struct FileFilter {
    QString description;
    QString pattern;
    bool operator==(const FileFilter&) const = default;
};

// The 16 custom colours of the colour dialog, each 0x00BBGGRR.
using CustomColours = std::array<std::uint32_t, 16>;

struct ColourChoice {
    std::uint32_t colour = 0;  // 0x00BBGGRR
    CustomColours customColours{};
    bool operator==(const ColourChoice&) const = default;
};

// The modal common dialogs: a file name to open, a file name to save to, and a colour.
// Each answers nothing when the user cancels. A file name, when given, is never empty.
// The open dialog adds `defaultExtension` (e.g. "avi", none when empty) to a typed name
// that has no extension. The save dialog neither asks before replacing a file nor adds
// an extension: the caller knows the name it will really write, and asks
// confirmReplace() about that one.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> openFileName(const QString& title,
                                                const std::vector<FileFilter>& filters,
                                                const QString& defaultExtension) = 0;
    virtual std::optional<QString> saveFileName(const QString& title,
                                                const std::vector<FileFilter>& filters) = 0;
    // Starts from `customColours`; a confirmed dialog returns them as the user left them.
    virtual std::optional<ColourChoice> chooseColour(const CustomColours& customColours) = 0;
};

// The save dialog's question before an existing file is replaced, titled like the dialog:
// "photo.bmp already exists. Do you want to replace it?". True when the user says Yes.
bool confirmReplace(const QString& title, const QString& path);

// The filters in the one-line form file dialogs take: "Grabbed Frames (*.fgr);;All Files
// (*.*)". A description that does not name its pattern in brackets gets it appended.
QString filterListText(const std::vector<FileFilter>& filters);

// Used where no one can answer a dialog (the command-line tool): every dialog is
// cancelled.
class CancellingFileDialogs : public FileDialogs {
public:
    std::optional<QString> openFileName(const QString&, const std::vector<FileFilter>&,
                                        const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const QString&, const std::vector<FileFilter>&) override {
        return std::nullopt;
    }
    std::optional<ColourChoice> chooseColour(const CustomColours&) override { return std::nullopt; }
};

// The dialogs every part of the program uses; all cancelled until some are installed.
FileDialogs& fileDialogs();
void installFileDialogs(std::shared_ptr<FileDialogs> dialogs);
// Where they are kept, for installing some for a scope (ScopedService).
ServiceSlot<std::shared_ptr<FileDialogs>>& fileDialogsSlot();

}  // namespace quillon::platform
