#include "platform/core/RandomSource.h"

#include <bit>

namespace quillon::platform {

float RandomSource::draw(float argument) {
    if (argument == 0.0f) return last_;
    if (argument < 0.0f) {
        const auto bits = std::bit_cast<std::uint32_t>(argument);
        state_ = (bits + (bits >> 24)) & kMask;
    }
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & kMask;
    last_ = float(state_) / float(kMask + 1);
    return last_;
}

void RandomSource::seed(double value) {
    const auto high = std::uint32_t(std::bit_cast<std::uint64_t>(value) >> 32);
    const std::uint32_t folded = ((high & 0xFFFF) ^ (high >> 16)) << 8;
    state_ = (state_ & 0xFF) | (folded & 0xFFFF00);
}

RandomSource& sharedRandom() {
    static RandomSource source;
    return source;
}

}  // namespace quillon::platform
