#include "platform/SettingsStore.h"

#include <QSettings>

namespace quillon::platform {

void saveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value) {
    QSettings settings(QSettings::UserScope, application, application);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
}

QString readSetting(const QString& application, const QString& section, const QString& key) {
    QSettings settings(QSettings::UserScope, application, application);
    return settings.value(section + '/' + key).toString();
}

}  // namespace quillon::platform
