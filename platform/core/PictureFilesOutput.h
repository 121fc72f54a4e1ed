#pragma once

#include <QString>
#include <functional>

#include "platform/core/Outcome.h"

class QIODevice;

namespace quillon::platform {

// Fills a device with a file's content; returns false when it could not, with its reason
// (empty when the device's own error says it).
using FileFiller = std::function<bool(QIODevice& device, QString& reason)>;

// Done, or the system's reason for the failing call, in one line.
using WrittenFile = Outcome<Done>;

// Writes a file. A regular file (or a new one) is written beside its place and takes it
// only once complete, so a failure leaves the old file as it was. Anything else that
// already exists under the name, directly or through links (a character or block device,
// a FIFO, a socket), is opened and written in place as cp does: replacing it would destroy
// a device node or a pipe someone reads from.
WrittenFile writeFileSafely(const QString& path, const FileFiller& fill);

}  // namespace quillon::platform
