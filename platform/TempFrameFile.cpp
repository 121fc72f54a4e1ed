#include "platform/TempFrameFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace quillon::platform {
namespace {

const QString kFileName = QStringLiteral("xQNtemp.fgr");
QString directoryOverride;

QString privateDirectory() {
    if (!directoryOverride.isEmpty()) return directoryOverride;
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty()) base = QDir::tempPath();
    return base + QStringLiteral("/Quillon");
}

void ensureOwnerOnly(const QString& directory) {
    QDir().mkpath(directory);
    QFile::setPermissions(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

QString grabbedFramePath() {
    const QString directory = privateDirectory();
    ensureOwnerOnly(directory);
    return directory + '/' + kFileName;
}

void deleteGrabbedFrame() {
    QFile::remove(privateDirectory() + '/' + kFileName);
}

void overrideGrabbedFrameDirectory(const QString& directory) {
    directoryOverride = directory;
}

}  // namespace quillon::platform
