#pragma once

// The sharpen filter's rows the fast way (SharpenRows.cpp), for the weights whose
// arithmetic can never overflow or divide by zero: the same results as the checked
// arithmetic of SharpenFilter.cpp, to the bit.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillon::mFilterQ {

class FastSharpen {
public:
    // Whether the weights suit: a centre weight within 16 bits keeps every product and sum
    // within 32 bits; a divisor of 0 must throw, as the checked arithmetic does.
    static bool suits(std::int32_t centre, std::int32_t divisor);

    FastSharpen(std::int32_t centre, std::int32_t divisor);

    // The inner pixels of a row of `width` pixels (four bytes each) that has rows above and
    // below it `stride` bytes away, in place, left to right.
    void sharpenRow(std::uint8_t* row, std::ptrdiff_t stride, std::int32_t width);

private:
    void weigh(const std::uint8_t* first, std::ptrdiff_t stride, std::size_t count);
    void chain(std::uint8_t* first, std::size_t count);

    std::int32_t centre_;
    bool negativeDivisor_;
    std::uint64_t multiplier_;       // n / |divisor| is (n · multiplier_) >> shift_
    std::uint64_t twiceMultiplier_;  // kept apart, so the left neighbour's part is one multiply
    int shift_;
    std::vector<std::int32_t> weighed_;  // four channels a pixel, for one stretch of a row
};

}  // namespace quillon::mFilterQ
