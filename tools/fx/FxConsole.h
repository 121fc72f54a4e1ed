#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace quillon::fx {

// The text with its control characters written out (\n, \t, \x1B, ...), so a name or an
// argument echoed in a message keeps it on one line.
QString escapeControlCharacters(const QString& text);

// While it lives, whatever the process writes to its standard error (descriptor 2) is
// kept instead: libpng prints its errors there itself, where no message handler catches
// them. `release()` restores the real standard error and returns what was kept, one line
// a message.
class StandardErrorCapture {
public:
    StandardErrorCapture();
    ~StandardErrorCapture();
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    QStringList release();
    // The real standard error while the capture lasts (-1 when nothing is captured).
    int realDescriptor() const { return saved_; }

private:
    int saved_ = -1;
    int kept_ = -1;
};

// Shows that a long operation is still running: after a second, a line on a terminal
// (never on a file or a pipe) with the operation and the time so far, rewritten every
// second and erased when the operation ends.
class ProgressLine {
public:
    ProgressLine(int descriptor, QString what);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

private:
    void run();
    void write(const QByteArray& text) const;

    int descriptor_;
    QByteArray what_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    bool shown_ = false;
    std::thread ticker_;
};

}  // namespace quillon::fx
