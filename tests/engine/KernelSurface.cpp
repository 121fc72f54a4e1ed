#include "tests/engine/KernelSurface.h"

#include <cstring>

namespace quillon::testsupport {

KernelSurface::KernelSurface(std::int32_t width, std::int32_t height)
    : bytes_(std::size_t{12} * std::uint32_t(width) * std::uint32_t(height)) {
    record_.width = width;
    record_.height = height;
    record_.surface = bytes_.data();
}

std::array<std::vector<std::uint8_t>, 3> KernelSurface::planes() const {
    const std::ptrdiff_t n = std::ptrdiff_t(bytes_.size() / 3);
    const auto plane = [&](int k) {
        return std::vector(bytes_.begin() + k * n, bytes_.begin() + k * n + n);
    };
    return {plane(0), plane(1), plane(2)};
}

std::uint8_t* KernelSurface::pixel(int p, int x, int y) {
    return plane(p) + 4 * (std::size_t(y - 1) * std::size_t(width()) + std::size_t(x - 1));
}

std::uint32_t KernelSurface::word(int p, int x, int y) {
    std::uint32_t value;
    std::memcpy(&value, pixel(p, x, y), 4);
    return value;
}

void KernelSurface::setWord(int p, int x, int y, std::uint32_t value) {
    std::memcpy(pixel(p, x, y), &value, 4);
}

void KernelSurface::fill(int p, std::uint32_t value) {
    for (std::size_t i = 0; i < pixelCount(); ++i) std::memcpy(plane(p) + 4 * i, &value, 4);
}

::testing::AssertionResult KernelSurface::wordsAre(
    int p, const std::function<std::uint32_t(int x, int y)>& expected) {
    for (int y = 1; y <= height(); ++y) {
        for (int x = 1; x <= width(); ++x) {
            if (word(p, x, y) == expected(x, y)) continue;
            return ::testing::AssertionFailure()
                   << "pixel " << x << "," << y << " of plane " << p << " is 0x" << std::hex
                   << word(p, x, y) << ", not 0x" << expected(x, y);
        }
    }
    return ::testing::AssertionSuccess();
}

void KernelSurface::fillRandomly(std::mt19937& random) {
    static constexpr std::uint8_t kEdges[] = {0,   1,   2,   24,  25,  127, 128,
                                              179, 180, 248, 249, 253, 254, 255};
    std::uniform_int_distribution<int> anyByte(0, 255), edge(0, std::size(kEdges) - 1), kind(0, 3);
    for (std::size_t i = 0; i < bytes_.size(); i += 4) {
        const int pixelKind = kind(random);
        const std::uint8_t grey = kEdges[edge(random)];
        for (std::size_t k = 0; k < 4; ++k) {
            const auto picked =
                pixelKind == 1 ? kEdges[edge(random)] : std::uint8_t(anyByte(random));
            bytes_[i + k] = pixelKind == 0 && k < 3 ? grey : picked;
        }
    }
}

void KernelSurface::run(Kernel kernel, const KernelCall& call) {
    record_.opCode = call.opCode;
    record_.amount = call.amount;
    record_.colour = call.colour;
    kernel(&record_, call.a, call.b, call.c);
}

}  // namespace quillon::testsupport
