#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "platform/core/FileDialogs.h"

namespace quillon::platform {

// What a dialog was asked to show.
struct DialogRequest {
    enum class Kind { Open, Save, Colour };
    Kind kind = Kind::Open;
    QString title;
    std::vector<FileFilter> filters;
    CustomColours customColours{};
    bool operator==(const DialogRequest&) const = default;
};

// Answers dialogs from a script, in order, and records what each dialog was asked. An
// answer of the wrong kind, or none left, counts as a cancel.
class ScriptedFileDialogs : public FileDialogs {
public:
    void answerFileName(const QString& path) { answers_.push_back(path); }
    void answerColour(const ColourChoice& choice) { answers_.push_back(choice); }
    void answerCancel() { answers_.push_back(std::monostate{}); }

    std::optional<QString> openFileName(const QString& title,
                                        const std::vector<FileFilter>& filters,
                                        const QString& defaultExtension) override;
    std::optional<QString> saveFileName(const QString& title,
                                        const std::vector<FileFilter>& filters) override;
    std::optional<ColourChoice> chooseColour(const CustomColours& customColours) override;

    const std::vector<DialogRequest>& asked() const { return asked_; }

private:
    template <class Kind>
    std::optional<Kind> nextAnswer();

    std::deque<std::variant<std::monostate, QString, ColourChoice>> answers_;  // monostate: cancel
    std::vector<DialogRequest> asked_;
};

// Installs scripted dialogs for the lifetime of a scope and restores the previous ones.
class ScopedScriptedFileDialogs {
public:
    ScopedScriptedFileDialogs()
        : scripted_(std::make_shared<ScriptedFileDialogs>()),
          installed_(fileDialogsSlot(), scripted_) {}
    ScriptedFileDialogs* operator->() const { return scripted_.get(); }
    ScriptedFileDialogs& operator*() const { return *scripted_; }

private:
    std::shared_ptr<ScriptedFileDialogs> scripted_;
    ScopedService<std::shared_ptr<FileDialogs>> installed_;
};

}  // namespace quillon::platform
