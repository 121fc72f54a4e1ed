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
    QString defaultExtension{};
    bool operator==(const DialogRequest&) const = default;
};

// Answers dialogs from a script, in order, and records what each dialog was asked. An
// answer of the wrong kind, or none left, counts as a cancel and as a script miss.
class ScriptedFileDialogs : public FileDialogs {
public:
    void answerFileName(const QString& path) { answers_.push_back(path); }
    void answerColour(const ColourChoice& choice) { answers_.push_back(choice); }
    void answerCancel() { answers_.push_back(Cancel{}); }

    std::optional<QString> openFileName(const QString& title,
                                        const std::vector<FileFilter>& filters,
                                        const QString& defaultExtension) override;
    std::optional<QString> saveFileName(const QString& title,
                                        const std::vector<FileFilter>& filters) override;
    std::optional<ColourChoice> chooseColour(const CustomColours& customColours) override;

    const std::vector<DialogRequest>& asked() const { return asked_; }
    std::size_t unusedAnswers() const { return answers_.size(); }
    int misses() const { return misses_; }

private:
    struct Cancel {};
    using Answer = std::variant<Cancel, QString, ColourChoice>;
    std::optional<Answer> nextAnswer();
    std::optional<QString> fileAnswer();

    std::deque<Answer> answers_;
    std::vector<DialogRequest> asked_;
    int misses_ = 0;
};

// Installs scripted dialogs for the lifetime of a scope and restores the previous ones.
class ScopedScriptedFileDialogs {
public:
    ScopedScriptedFileDialogs();
    ScopedScriptedFileDialogs(const ScopedScriptedFileDialogs&) = delete;
    ScopedScriptedFileDialogs& operator=(const ScopedScriptedFileDialogs&) = delete;

    ScriptedFileDialogs* operator->() const { return scripted_.get(); }
    ScriptedFileDialogs& operator*() const { return *scripted_; }

private:
    std::shared_ptr<ScriptedFileDialogs> scripted_;
    ScopedService<std::shared_ptr<FileDialogs>> installed_;
};

}  // namespace quillon::platform
