#pragma once

#include <QString>

namespace quillon::platform {

// Per-user settings by application, section and key, kept as text (QSettings underneath:
// an INI-style file in the user's configuration directory on Linux, the registry on
// Windows). Without a home folder nothing is kept.
void saveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);
QString readSetting(const QString& application, const QString& section, const QString& key);

// With HOME unset, takes the account's home from the password database, as the platform's
// own libraries do, so that settings and caches do not land at the root of the file
// system. Called before the first setting or cache path; harmless to call again.
void ensureHomeDirectory();

}  // namespace quillon::platform
