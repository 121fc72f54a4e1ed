#include "platform/core/FileDialogs.h"

#include <QFileInfo>
#include <QObject>
#include <QStringList>

#include "platform/core/MessageBox.h"

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

ServiceSlot<std::shared_ptr<FileDialogs>>& fileDialogsSlot() {
    return dialogsSlot();
}

}  // namespace quillon::platform
