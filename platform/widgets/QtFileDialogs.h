#pragma once

#include "platform/core/FileDialogs.h"

namespace quillon::platform {

// The common dialogs over QFileDialog and QColorDialog, modal over the window the user
// is working in.
class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> openFileName(const QString& title,
                                        const std::vector<FileFilter>& filters,
                                        const QString& defaultExtension) override;
    std::optional<QString> saveFileName(const QString& title,
                                        const std::vector<FileFilter>& filters) override;
    std::optional<ColourChoice> chooseColour(const CustomColours& customColours) override;
};

}  // namespace quillon::platform
