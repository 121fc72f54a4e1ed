#pragma once

#include <QString>

namespace quillon::platform {

// Per-user settings by application, section and key, kept as text (QSettings underneath:
// an INI-style file in the user's configuration directory on Linux, the registry on
// Windows).
void saveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);
QString readSetting(const QString& application, const QString& section, const QString& key);

}  // namespace quillon::platform
