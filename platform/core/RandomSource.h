#pragma once

#include <cstdint>

namespace quillon::platform {

// The program's shared pseudo-random source: a 24-bit linear congruential generator
// that can be re-seeded, so an effect can put it into a known state and get the same
// values every time.
class RandomSource {
public:
    // The next value in [0, 1). A negative argument first re-seeds the source from the
    // argument itself, so the same negative argument always starts the same sequence;
    // zero gives the last value again.
    float draw(float argument = 1.0f);

    // Re-seeds from a number: the same number after the same draw gives the same sequence.
    void seed(double value);

    std::uint32_t state() const { return state_; }

private:
    static constexpr std::uint32_t kMask = 0xFFFFFF;
    std::uint32_t state_ = 0x50000;
    float last_ = 0.0f;
};

RandomSource& sharedRandom();

}  // namespace quillon::platform
