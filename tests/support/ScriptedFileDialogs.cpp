#include "tests/support/ScriptedFileDialogs.h"

namespace quillon::platform {

std::optional<ScriptedFileDialogs::Answer> ScriptedFileDialogs::nextAnswer() {
    if (answers_.empty()) return std::nullopt;
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

std::optional<QString> ScriptedFileDialogs::fileAnswer() {
    const std::optional<Answer> answer = nextAnswer();
    if (answer && std::holds_alternative<Cancel>(*answer)) return std::nullopt;
    const QString* path = answer ? std::get_if<QString>(&*answer) : nullptr;
    if (path == nullptr || path->isEmpty()) {
        ++misses_;
        return std::nullopt;
    }
    return *path;
}

std::optional<QString> ScriptedFileDialogs::openFileName(const QString& title,
                                                         const std::vector<FileFilter>& filters,
                                                         const QString& defaultExtension) {
    asked_.push_back({DialogRequest::Kind::Open, title, filters, {}, defaultExtension});
    return fileAnswer();
}

std::optional<QString> ScriptedFileDialogs::saveFileName(const QString& title,
                                                         const std::vector<FileFilter>& filters) {
    asked_.push_back({DialogRequest::Kind::Save, title, filters, {}});
    return fileAnswer();
}

std::optional<ColourChoice> ScriptedFileDialogs::chooseColour(const CustomColours& customColours) {
    asked_.push_back({DialogRequest::Kind::Colour, {}, {}, customColours});
    const std::optional<Answer> answer = nextAnswer();
    if (answer && std::holds_alternative<Cancel>(*answer)) return std::nullopt;
    const ColourChoice* choice = answer ? std::get_if<ColourChoice>(&*answer) : nullptr;
    if (choice == nullptr) {
        ++misses_;
        return std::nullopt;
    }
    return *choice;
}

ScopedScriptedFileDialogs::ScopedScriptedFileDialogs()
    : scripted_(std::make_shared<ScriptedFileDialogs>()),
      installed_(fileDialogsSlot(), scripted_) {}

}  // namespace quillon::platform
