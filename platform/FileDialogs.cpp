#include "platform/FileDialogs.h"

#include <QFileInfo>
#include <QObject>
#include <QStringList>

#include "platform/MessageBox.h"

namespace quillon::platform {
namespace {

using DialogsSlot = ServiceSlot<std::shared_ptr<FileDialogs>>;

DialogsSlot& dialogsSlot() {
    static DialogsSlot slot(
        [] { return std::shared_ptr<FileDialogs>(std::make_shared<CancellingFileDialogs>()); });
    return slot;
}

}  // namespace

QString filterListText(const std::vector<FileFilter>& filters) {
    QStringList entries;
    for (const FileFilter& filter : filters) {
        const bool namesPattern = filter.description.endsWith(u')');
        entries << (namesPattern ? filter.description
                                 : filter.description + QStringLiteral(" (") + filter.pattern +
                                       QStringLiteral(")"));
    }
    return entries.join(QStringLiteral(";;"));
}

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

bool confirmReplace(const QString& title, const QString& path) {
    const QString text = QObject::tr("%1 already exists.\nDo you want to replace it?")
                             .arg(QFileInfo(path).fileName());
    return messages().ask(title, text, MessageIcon::Warning);
}

FileDialogs& fileDialogs() {
    return *dialogsSlot().current();
}

void installFileDialogs(std::shared_ptr<FileDialogs> dialogs) {
    dialogsSlot().install(std::move(dialogs));
}

ScopedScriptedFileDialogs::ScopedScriptedFileDialogs()
    : scripted_(std::make_shared<ScriptedFileDialogs>()), installed_(dialogsSlot(), scripted_) {}

}  // namespace quillon::platform
