#include "tools/fx/FxConsole.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QStringList>
#include <cstdio>

namespace quillon::fx {
namespace {

// Decoders may chatter at length; what the one line needs is at the start.
constexpr qint64 kMostKeptBytes = 4096;

QString escaped(QChar c) {
    switch (c.unicode()) {
        case '\n':
            return QStringLiteral("\\n");
        case '\r':
            return QStringLiteral("\\r");
        case '\t':
            return QStringLiteral("\\t");
        default:
            return QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0')).toUpper();
    }
}

QByteArray readBack(int descriptor) {
    QByteArray text(kMostKeptBytes, '\0');
    const ssize_t got = ::pread(descriptor, text.data(), size_t(text.size()), 0);
    text.truncate(got > 0 ? qsizetype(got) : 0);
    return text;
}

}  // namespace

QString escapeControlCharacters(const QString& text) {
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            line += escaped(c);
        else
            line += c;
    }
    return line;
}

StandardErrorCapture::StandardErrorCapture() {
    std::fflush(stderr);
    kept_ = ::memfd_create("quillon-fx-stderr", MFD_CLOEXEC);
    if (kept_ < 0) return;
    saved_ = ::dup(STDERR_FILENO);
    if (saved_ < 0 || ::dup2(kept_, STDERR_FILENO) < 0) {
        if (saved_ >= 0) ::close(saved_);
        ::close(kept_);
        saved_ = kept_ = -1;
    }
}

StandardErrorCapture::~StandardErrorCapture() {
    release();
}

QStringList StandardErrorCapture::release() {
    if (kept_ < 0) return {};
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    const QByteArray text = readBack(kept_);
    ::close(kept_);
    saved_ = kept_ = -1;
    QStringList lines;
    for (const QByteArray& line : text.split('\n')) {
        const QString trimmed = QString::fromLocal8Bit(line).trimmed();
        if (!trimmed.isEmpty()) lines.append(trimmed);
    }
    return lines;
}

ProgressLine::ProgressLine(int descriptor, QString what)
    : descriptor_(descriptor), what_(escapeControlCharacters(what).toLocal8Bit()) {
    if (descriptor_ >= 0 && ::isatty(descriptor_) == 1) ticker_ = std::thread([this] { run(); });
}

ProgressLine::~ProgressLine() {
    if (!ticker_.joinable()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    finished_.notify_one();
    ticker_.join();
    if (shown_) write("\r\033[K");
}

void ProgressLine::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (int seconds = 1;; ++seconds) {
        if (finished_.wait_for(lock, std::chrono::seconds(1), [this] { return done_; })) return;
        write("\rquillon-fx: " + what_ + " running, " + QByteArray::number(seconds) + " s\033[K");
        shown_ = true;
    }
}

void ProgressLine::write(const QByteArray& text) const {
    const ssize_t ignored = ::write(descriptor_, text.constData(), size_t(text.size()));
    (void)ignored;
}

}  // namespace quillon::fx
