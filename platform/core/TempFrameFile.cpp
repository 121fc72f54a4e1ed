#include "platform/core/TempFrameFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "platform/core/SettingsStore.h"

namespace quillon::platform {
namespace {

const QString kFileName = QStringLiteral("xQNtemp.fgr");
QString directoryOverride;
// This window's own folder for its frame, made when it first grabs: a second window
// (another process) has its own, so closing one never deletes the other's frame.
std::unique_ptr<QTemporaryDir> windowFolder;

QString cacheFolder() {
    if (!directoryOverride.isEmpty()) return directoryOverride;
    ensureHomeDirectory();
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/Quillon");
}

// Makes the folder owner-only if it is missing, and accepts it only if it is a folder (not
// a link to one) of this user that nobody else may enter. Nothing is changed on a folder
// that fails: it may be someone else's, or the target of a planted link.
bool isPrivateFolder(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    const QByteArray name = QFile::encodeName(path);
    ::mkdir(name.constData(), 0700);
    const int folder = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) return false;
    struct stat status {};
    const bool ok = ::fstat(folder, &status) == 0 && S_ISDIR(status.st_mode) &&
                    status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
    ::close(folder);
    return ok;
}

// Where the window folders go when the cache's folder cannot be trusted: the runtime
// folder, which Qt itself checks to be the user's own and private.
QString fallbackFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

// A fresh folder (mkdtemp: owner-only, a name nobody had) inside a trusted one.
std::unique_ptr<QTemporaryDir> freshWindowFolder() {
    const QString cache = cacheFolder();
    const QString parent = !cache.isEmpty() && isPrivateFolder(cache) ? cache : fallbackFolder();
    auto folder = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/frame-XXXXXX"));
    if (!folder->isValid()) folder = std::make_unique<QTemporaryDir>();
    return folder;
}

}  // namespace

QString grabbedFramePath() {
    if (windowFolder == nullptr) windowFolder = freshWindowFolder();
    return windowFolder->path() + '/' + kFileName;
}

void deleteGrabbedFrame() {
    windowFolder.reset();  // the folder goes with the frame in it
}

void overrideGrabbedFrameDirectory(const QString& directory) {
    directoryOverride = directory;
    windowFolder.reset();
}

}  // namespace quillon::platform
