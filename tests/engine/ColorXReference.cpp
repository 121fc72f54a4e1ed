#include "tests/engine/ColorXReference.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "engine/Rounding.h"

namespace quillon::testsupport {
namespace {

// Each effect written out plainly, one byte at a time, in the order of its steps. Channel c is
// 0 for blue, 1 for green, 2 for red.
class Reference {
public:
    Reference(std::vector<std::uint8_t>& bytes, std::int64_t width, std::int64_t height,
              const ColorXCall& call)
        : bytes_(bytes), W(width), H(height), call_(call), a(call.a), b(call.b) {}

    void run() {
        if (call_.opCode == 0) return dot();
        if (call_.amount < 1) return;  // op codes 1 and up do nothing then
        switch (call_.opCode) {
            case 1:
                return lines(H, call_.amount, W, 1);
            case 2:
                return lines(H, 1, W, call_.amount);
            case 3:
                return lines(H, call_.amount, W, call_.amount);
            case 4:
                return glow();
            case 5:
                return streak(0, 1, 1, H - radius(), 1, W);
            case 6:
                return streak(0, -1, radius() + 1, H, 1, W);
            case 7:
                return streak(-1, 0, 1, H, radius() + 1, W);
            case 8:
                return streak(1, 0, 1, H, 1, W - radius());
            default:
                return ring();
        }
    }

private:
    std::uint8_t& P(std::int64_t x, std::int64_t y, int c) {
        return bytes_[std::size_t(4 * ((y - 1) * W + (x - 1)) + c)];
    }
    std::uint8_t X(int c) const { return std::uint8_t(call_.colour >> (16 - 8 * c)); }

    bool hasColourX(std::int64_t x, std::int64_t y) {
        return P(x, y, 0) * 65536u + P(x, y, 1) * 256u + P(x, y, 2) == call_.colour;
    }
    void writeX(std::int64_t x, std::int64_t y) {
        for (int c = 0; c < 3; ++c) P(x, y, c) = X(c);
    }
    void blend(std::int64_t x, std::int64_t y, float w) {
        for (int c = 0; c < 3; ++c) {
            std::int32_t v = roundToInt32(double(w) * P(x, y, c) + (1 - double(w)) * X(c));
            if (v > 255) v = 255;
            if (v < 0) v = 0;
            P(x, y, c) = std::uint8_t(v);
        }
    }
    std::int64_t radius() const {
        std::uint32_t R = (std::uint32_t(call_.amount) + 2) / 2;
        if (R == 5) R = 4;
        return R;
    }

    void dot() {
        std::int32_t x = roundToInt32(a * W + 1), y = roundToInt32(b * H + 1);
        if (x > W) x = std::int32_t(W);
        if (y > H) y = std::int32_t(H);
        if (x >= 1 && y >= 1) writeX(x, y);
    }

    void lines(std::int64_t topRow, std::int64_t rowStep, std::int64_t rightColumn,
               std::int64_t columnStep) {
        for (std::int64_t y = topRow; y > 0; y -= rowStep)
            for (std::int64_t x = rightColumn; x > 0; x -= columnStep) writeX(x, y);
    }

    void glow() {
        const std::int64_t R = radius();
        for (std::int64_t y = R + 1; y <= H - R; ++y) {
            for (std::int64_t x = R + 1; x <= W - R; ++x) {
                if (!hasColourX(x, y)) continue;
                for (std::int64_t j = -R; j <= R; ++j) {
                    for (std::int64_t i = -R; i <= R; ++i) {
                        const std::int64_t d = std::max(std::abs(i), std::abs(j));
                        blend(x + i, y + j, float(a - b * double(R - d)));
                    }
                }
            }
        }
    }

    void streak(int dx, int dy, std::int64_t firstRow, std::int64_t lastRow,
                std::int64_t firstColumn, std::int64_t lastColumn) {
        const std::int64_t R = radius();
        for (std::int64_t y = firstRow; y <= lastRow; ++y) {
            for (std::int64_t x = firstColumn; x <= lastColumn; ++x) {
                if (!hasColourX(x, y)) continue;
                float w = call_.a;
                for (std::int64_t k = R; k >= 1; --k) {
                    w = float(w - b);
                    blend(x + k * dx, y + k * dy, w);
                }
            }
        }
    }

    void ring() {
        const auto k = float(std::numbers::pi / 180);
        const std::int64_t n = 24 * std::int64_t{call_.amount};
        for (std::int64_t r = 1; r <= n; ++r) {
            const auto f = float(2 - double(r) / double(n));
            for (int g = 359; g >= 1; --g) {
                const std::int32_t x = roundToInt32(a + r * std::sin(g * double(k)));
                const std::int32_t y = roundToInt32((H - b) + r * std::cos(g * double(k)));
                if (x < 1 || x > W || y < 1 || y > H) continue;
                for (int c = 0; c < 3; ++c) {
                    const std::int32_t v = roundToInt32(P(x, y, c) * double(f));
                    P(x, y, c) = v > 255 ? X(c) : std::uint8_t(v);
                }
            }
        }
    }

    std::vector<std::uint8_t>& bytes_;
    const std::int64_t W, H;
    const ColorXCall call_;
    const double a, b;
};

}  // namespace

std::uint32_t pixelWord(std::uint32_t bgr) {
    return (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
}

std::vector<std::uint8_t> referenceColorX(std::vector<std::uint8_t> working, std::int32_t width,
                                          std::int32_t height, const ColorXCall& call) {
    Reference(working, width, height, call).run();
    return working;
}

KernelCall kernelCall(const ColorXCall& call) {
    return {.opCode = call.opCode,
            .amount = call.amount,
            .colour = call.colour,
            .a = std::bit_cast<KernelArgument>(call.a),
            .b = std::bit_cast<KernelArgument>(call.b)};
}

}  // namespace quillon::testsupport
