#pragma once

// Bounds on the work a picture file may ask of its decoder, beyond its pixels.

#include <QIODevice>
#include <QString>
#include <atomic>
#include <chrono>
#include <optional>

namespace quillon::platform {

// libjpeg decodes a progressive JPEG once per scan over its whole picture; a file of
// thousands of repeated scans costs minutes and gigabytes for a few megabytes on disk.
// libjpeg-turbo's own tools stop at 500 scans; so does this.
inline constexpr int kMostJpegScans = 500;

// Walks the markers of a JPEG file (from the device's position, which it restores) and
// gives the reason to refuse one with more scans than that. Anything that is not a JPEG,
// or a JPEG too damaged to walk, is left to the decoder.
std::optional<QString> jpegTooMuchWork(QIODevice& device);

// The longest a picture may take to decode while the window waits for it (30 s by
// default); past it, the decoder's reads fail and the picture is refused. Tests shorten it.
std::chrono::milliseconds longestDecode();
void setLongestDecode(std::chrono::milliseconds limit);

// A device as a decoder on another thread reads it: the source from its present position
// on, until cancelled; from then on every read and seek fails, so a decoder still at work
// gives up soon after.
class CancellableDevice : public QIODevice {
public:
    explicit CancellableDevice(QIODevice& source);
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

    bool isSequential() const override { return source_.isSequential(); }
    qint64 size() const override;
    bool seek(qint64 position) override;

protected:
    qint64 readData(char* data, qint64 most) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& source_;
    const qint64 start_;
    std::atomic<bool> cancelled_ = false;
};

}  // namespace quillon::platform
