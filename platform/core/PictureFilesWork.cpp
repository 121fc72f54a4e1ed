#include "platform/core/PictureFilesWork.h"

namespace quillon::platform {
namespace {

std::atomic<std::chrono::milliseconds::rep> longestDecodeMs = 30000;

}  // namespace

std::chrono::milliseconds longestDecode() {
    return std::chrono::milliseconds(longestDecodeMs.load());
}

void setLongestDecode(std::chrono::milliseconds limit) {
    longestDecodeMs = limit.count();
}

CancellableDevice::CancellableDevice(QIODevice& source)
    : source_(source), start_(source.isSequential() ? 0 : source.pos()) {
    QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 CancellableDevice::size() const {
    return source_.isSequential() ? QIODevice::size() : source_.size() - start_;
}

bool CancellableDevice::seek(qint64 position) {
    if (cancelled_ || !QIODevice::seek(position)) return false;
    return source_.isSequential() || source_.seek(start_ + position);
}

qint64 CancellableDevice::readData(char* data, qint64 most) {
    if (cancelled_) return -1;
    return source_.read(data, most);
}

}  // namespace quillon::platform
