// The colour X kernel's search and painting eight pixels at a time in AVX2 registers.
// Compiled with -mavx2 and entered only on processors that have AVX2 (SimdDispatch.h).

#include "engine/ColorXAvx2.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace quillon::colorx::avx2 {
namespace {

__m256i colourBytes() {
    return _mm256_set1_epi32(0x00FFFFFF);
}

}  // namespace

std::int64_t findColourX(const std::uint8_t* row, std::int64_t x, std::int64_t last,
                         std::uint32_t pixelBits) {
    const __m256i wanted = _mm256_set1_epi32(int(pixelBits));
    for (; last - x >= 7; x += 8) {
        const auto* eight = reinterpret_cast<const __m256i*>(row + 4 * (x - 1));
        const __m256i equal =
            _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_loadu_si256(eight), colourBytes()), wanted);
        const int hits = _mm256_movemask_ps(_mm256_castsi256_ps(equal));
        if (hits != 0) return x + __builtin_ctz(unsigned(hits));
    }
    return x;
}

std::int64_t paintRun(std::uint8_t* pixels, std::int64_t count, std::uint32_t pixelBits) {
    const __m256i colour = _mm256_set1_epi32(int(pixelBits));
    std::int64_t i = 0;
    for (; i + 8 <= count; i += 8) {
        auto* eight = reinterpret_cast<__m256i*>(pixels + 4 * i);
        _mm256_storeu_si256(eight,
                            _mm256_blendv_epi8(_mm256_loadu_si256(eight), colour, colourBytes()));
    }
    return i;
}

}  // namespace quillon::colorx::avx2

#else

// Builds without AVX2 code never take the AVX2 path; these leave every pixel to the caller.
namespace quillon::colorx::avx2 {
std::int64_t findColourX(const std::uint8_t*, std::int64_t x, std::int64_t, std::uint32_t) {
    return x;
}
std::int64_t paintRun(std::uint8_t*, std::int64_t, std::uint32_t) {
    return 0;
}
}  // namespace quillon::colorx::avx2

#endif
