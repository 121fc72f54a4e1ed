#include "tests/support/ScriptedFileDialogs.h"

namespace quillon::platform {

template <class Kind>
std::optional<Kind> ScriptedFileDialogs::nextAnswer() {
    if (answers_.empty()) return std::nullopt;
    const auto answer = std::move(answers_.front());
    answers_.pop_front();
    if (const Kind* given = std::get_if<Kind>(&answer)) return *given;
    return std::nullopt;
}

std::optional<QString> ScriptedFileDialogs::openFileName(const QString& title,
                                                         const std::vector<FileFilter>& filters,
                                                         const QString& /*defaultExtension*/) {
    asked_.push_back({DialogRequest::Kind::Open, title, filters, {}});
    return nextAnswer<QString>();
}

std::optional<QString> ScriptedFileDialogs::saveFileName(const QString& title,
                                                         const std::vector<FileFilter>& filters) {
    asked_.push_back({DialogRequest::Kind::Save, title, filters, {}});
    return nextAnswer<QString>();
}

std::optional<ColourChoice> ScriptedFileDialogs::chooseColour(const CustomColours& customColours) {
    asked_.push_back({DialogRequest::Kind::Colour, {}, {}, customColours});
    return nextAnswer<ColourChoice>();
}

}  // namespace quillon::platform
