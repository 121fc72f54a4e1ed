#include "platform/core/SettingsStore.h"

#include <pwd.h>
#include <unistd.h>

#include <QSettings>

namespace quillon::platform {
namespace {

// Without a home, Qt would keep settings under the root of the file system ("/.config").
bool haveHome() {
    ensureHomeDirectory();
    return !qEnvironmentVariableIsEmpty("HOME");
}

}  // namespace

void ensureHomeDirectory() {
    if (!qEnvironmentVariableIsEmpty("HOME")) return;
    const passwd* account = ::getpwuid(::geteuid());
    if (account != nullptr && account->pw_dir != nullptr && account->pw_dir[0] == '/')
        qputenv("HOME", account->pw_dir);
}

void saveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value) {
    if (!haveHome()) return;
    QSettings settings(QSettings::UserScope, application, application);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
}

QString readSetting(const QString& application, const QString& section, const QString& key) {
    if (!haveHome()) return QString();
    QSettings settings(QSettings::UserScope, application, application);
    return settings.value(section + '/' + key).toString();
}

}  // namespace quillon::platform
