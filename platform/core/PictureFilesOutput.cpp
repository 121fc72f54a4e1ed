#include "platform/core/PictureFilesOutput.h"

#include <sys/stat.h>

#include <QFile>
#include <QSaveFile>

namespace quillon::platform {
namespace {

// Follows links: what matters is what the name leads to.
bool isSpecialFile(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return false;
    return !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

// The device's own reason comes first: an encoder that only learns that a write failed
// says "Unknown error", while the device keeps the system's reason for the failing call.
QString reasonOf(const QFileDevice& file, const QString& fillerReason) {
    if (file.error() != QFileDevice::NoError) return file.errorString();
    return fillerReason.isEmpty() ? file.errorString() : fillerReason;
}

WrittenFile writeInPlace(const QString& path, const FileFiller& fill) {
    QFile file(path);
    // Unbuffered, so a failing write (a full device) is seen by the call that made it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WrittenFile::failure(file.errorString());
    QString reason;
    if (!fill(file, reason) || file.error() != QFileDevice::NoError)
        return WrittenFile::failure(reasonOf(file, reason));
    file.close();
    if (file.error() != QFileDevice::NoError) return WrittenFile::failure(file.errorString());
    return Done{};
}

// A write the disk takes only part of comes back short, with no error or with "Unknown
// error"; the system's reason comes with the next write, made here into the copy that is
// about to be discarded.
void provokeReason(QSaveFile& file) {
    file.write("", 1);
    file.flush();
}

WrittenFile discard(QSaveFile& file, const QString& fillerReason) {
    provokeReason(file);
    const QString failure = reasonOf(file, fillerReason);  // read before cancelling resets it
    file.cancelWriting();
    return WrittenFile::failure(failure);
}

WrittenFile writeAtomically(const QString& path, const FileFiller& fill) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return WrittenFile::failure(file.errorString());
    QString reason;
    if (!fill(file, reason)) return discard(file, reason);
    // commit() takes a failure of its own last flush for success and puts the cut copy in
    // place of the old file; so everything is flushed, and checked, before it.
    if (!file.flush()) return discard(file, QString());
    if (!file.commit()) return WrittenFile::failure(file.errorString());
    return Done{};
}

}  // namespace

WrittenFile writeFileSafely(const QString& path, const FileFiller& fill) {
    return isSpecialFile(path) ? writeInPlace(path, fill) : writeAtomically(path, fill);
}

}  // namespace quillon::platform
