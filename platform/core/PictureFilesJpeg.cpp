#include <QIODevice>
#include <cstring>

#include "platform/core/PictureFilesWork.h"

namespace quillon::platform {
namespace {

constexpr int kEnd = -1;
constexpr int kStartOfImage = 0xD8, kEndOfImage = 0xD9, kStartOfScan = 0xDA;

bool standsAlone(int marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The device's bytes, read in blocks.
class ByteWalk {
public:
    explicit ByteWalk(QIODevice& device) : device_(device) {}

    int next() {
        if (at_ == buffer_.size() && !refill()) return kEnd;
        return std::uint8_t(buffer_[at_++]);
    }
    bool skip(qint64 count) {
        while (count > 0) {
            if (at_ == buffer_.size() && !refill()) return false;
            const qint64 step = std::min<qint64>(count, buffer_.size() - at_);
            at_ += step;
            count -= step;
        }
        return true;
    }
    // Moves past the next 0xFF byte; false at the end of the file.
    bool pastNextFF() {
        for (;;) {
            const char* start = buffer_.constData() + at_;
            const void* found = std::memchr(start, 0xFF, std::size_t(buffer_.size() - at_));
            if (found != nullptr) {
                at_ += static_cast<const char*>(found) - start + 1;
                return true;
            }
            if (!refill()) return false;
        }
    }

private:
    bool refill() {
        buffer_ = device_.read(1 << 16);
        at_ = 0;
        return !buffer_.isEmpty();
    }

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype at_ = 0;
};

// The marker after 0xFF, past any fill bytes.
int markerAfterFF(ByteWalk& bytes) {
    int marker = bytes.next();
    while (marker == 0xFF) marker = bytes.next();
    return marker;
}

// Skips a scan's entropy-coded data, where 0xFF is followed by 0 (a stuffed byte) or a
// restart marker; returns the marker that ends it.
int markerAfterScan(ByteWalk& bytes) {
    while (bytes.pastNextFF()) {
        const int marker = markerAfterFF(bytes);
        if (marker != 0 && !(marker >= 0xD0 && marker <= 0xD7)) return marker;
    }
    return kEnd;
}

// The marker that follows a segment's length and content.
int markerAfterSegment(ByteWalk& bytes) {
    const int high = bytes.next(), low = bytes.next();
    const int length = (high << 8) | low;
    if (low == kEnd || high == kEnd || length < 2 || !bytes.skip(length - 2)) return kEnd;
    if (bytes.next() != 0xFF) return kEnd;
    return markerAfterFF(bytes);
}

// The number of scans up to the end of the image, counting no further than most + 1.
int countScans(ByteWalk& bytes, int most) {
    if (bytes.next() != 0xFF || bytes.next() != kStartOfImage) return 0;
    int scans = 0;
    int marker = bytes.next() == 0xFF ? markerAfterFF(bytes) : kEnd;
    while (marker != kEnd && marker != kEndOfImage && scans <= most) {
        if (standsAlone(marker)) {
            marker = bytes.next() == 0xFF ? markerAfterFF(bytes) : kEnd;
        } else if (marker == kStartOfScan) {
            ++scans;
            const int high = bytes.next(), low = bytes.next();
            const int length = (high << 8) | low;
            marker = low == kEnd || length < 2 || !bytes.skip(length - 2) ? kEnd
                                                                          : markerAfterScan(bytes);
        } else {
            marker = markerAfterSegment(bytes);
        }
    }
    return scans;
}

}  // namespace

std::optional<QString> jpegTooMuchWork(QIODevice& device) {
    if (device.isSequential() || !device.peek(2).startsWith("\xFF\xD8")) return std::nullopt;
    const qint64 start = device.pos();
    ByteWalk bytes(device);
    const int scans = countScans(bytes, kMostJpegScans);
    device.seek(start);
    if (scans <= kMostJpegScans) return std::nullopt;
    return QStringLiteral("the JPEG file has more than %1 scans").arg(kMostJpegScans);
}

}  // namespace quillon::platform
