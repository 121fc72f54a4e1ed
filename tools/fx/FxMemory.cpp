#include "tools/fx/FxMemory.h"

#include <QFile>
#include <QRegularExpression>

namespace quillon::fx {
namespace {

constexpr double kMebibyte = 1024.0 * 1024.0;

}  // namespace

std::optional<std::int64_t> availableMemoryBytes() {
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    static const QRegularExpression line(QStringLiteral("^MemAvailable:\\s+(\\d+) kB$"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(meminfo.readAll()));
    if (!match.hasMatch()) return std::nullopt;
    bool ok = false;
    const std::int64_t kilobytes = match.captured(1).toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(kilobytes * 1024) : std::nullopt;
}

Status checkMemoryFor(PictureSize size, std::optional<std::int64_t> available,
                      const QString& what) {
    const std::int64_t needed = std::int64_t{size.width} * size.height * kBytesHeldPerPixel;
    if (!available || needed <= *available) return succeeded();
    return Status::failure(
        QStringLiteral("%1: not enough memory for a %2x%3 picture (it needs about %4 MiB, "
                       "%5 MiB are available)")
            .arg(what)
            .arg(size.width)
            .arg(size.height)
            .arg(std::int64_t(needed / kMebibyte + 0.5))
            .arg(std::int64_t(*available / kMebibyte)));
}

}  // namespace quillon::fx
