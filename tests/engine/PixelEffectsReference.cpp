#include "tests/engine/PixelEffectsReference.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace quillon::testsupport {
namespace {

// The plainest view of the two planes: S(x, y, c) and D(x, y, c), 1-based, row 1 at
// the bottom, c = 0 blue, 1 green, 2 red, 3 reserved.
struct PlaneView {
    const std::uint8_t* undo;
    std::uint8_t* working;
    int w, h;

    std::size_t at(int x, int y, int c) const {
        return 4 * (std::size_t(y - 1) * w + std::size_t(x - 1)) + c;
    }
    int S(int x, int y, int c) const { return undo[at(x, y, c)]; }
    std::uint8_t& D(int x, int y, int c) const { return working[at(x, y, c)]; }
};

int colourComponent(std::uint32_t colour, int c) {
    const int shift[] = {16, 8, 0};  // blue, green, red of 0x00BBGGRR
    return int((colour >> shift[c]) & 255);
}

void smooth(const PlaneView& v, int amount) {
    for (int y = 1; y <= v.h; ++y) {
        for (int x = 1; x <= v.w; ++x) {
            const bool innerX = x >= 2 && x <= v.w - 1, innerY = y >= 2 && y <= v.h - 1;
            for (int c = 0; c < 4; ++c) {
                if (amount == 1 && innerX) {
                    v.D(x, y, c) = v.S(x - 1, y, c) / 2 + v.S(x + 1, y, c) / 2;
                } else if (amount == 2 && innerY) {
                    v.D(x, y, c) = v.S(x, y - 1, c) / 2 + v.S(x, y + 1, c) / 2;
                } else if (amount == 4 && innerX && innerY) {
                    v.D(x, y, c) = v.S(x - 1, y - 1, c) / 4 + v.S(x + 1, y - 1, c) / 4 +
                                   v.S(x - 1, y + 1, c) / 4 + v.S(x + 1, y + 1, c) / 4;
                } else if (amount == 8 && innerX && innerY) {
                    int sum = 0;
                    for (int j = -1; j <= 1; ++j) {
                        for (int i = -1; i <= 1; ++i)
                            if (i != 0 || j != 0) sum += v.S(x + i, y + j, c) / 8;
                    }
                    v.D(x, y, c) = std::uint8_t(sum);
                }
            }
        }
    }
}

int edge(const PlaneView& v, int x, int y, int c, int xc) {
    int neighbours = 0;
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i)
            if (i != 0 || j != 0) neighbours += v.S(x + i, y + j, c);
    }
    return std::clamp(8 * v.S(x, y, c) - neighbours + xc, 0, 255);
}

int relief(const PlaneView& v, int x, int y, int c, int xc) {
    return std::min(std::abs(v.S(x, y, c) - v.S(x + 1, y + 1, c) - xc), 255);
}

int emboss(const PlaneView& v, int x, int y, int c, int xc) {
    const int g = v.S(x, y + 1, c) + 2 * v.S(x + 1, y + 1, c) + v.S(x + 1, y, c) -
                  v.S(x - 1, y, c) - 2 * v.S(x - 1, y - 1, c) - v.S(x, y - 1, c);
    const int value = int(std::floor((v.S(x, y, c) + g) / 2.0)) + 50;
    if (value > 255) return xc;
    return std::max(value, 0);
}

// Blue, green and red of every pixel with eight neighbours, by a rule of the block
// around it and the matching component of colour X.
void inner(const PlaneView& v, std::uint32_t colour,
           int (*rule)(const PlaneView&, int, int, int, int)) {
    for (int y = 2; y <= v.h - 1; ++y) {
        for (int x = 2; x <= v.w - 1; ++x) {
            for (int c = 0; c < 3; ++c)
                v.D(x, y, c) = std::uint8_t(rule(v, x, y, c, colourComponent(colour, c)));
        }
    }
}

void copyColour(const PlaneView& v, int x, int y, int sx, int sy) {
    for (int c = 0; c < 3; ++c) v.D(x, y, c) = std::uint8_t(v.S(sx, sy, c));
}

// A value outside the rows reads the nearest row, one that is not a number row 1: the
// kernel's guard against a table it did not build.
void wave(const PlaneView& v, const std::vector<float>& table) {
    for (int y = 1; y <= v.h; ++y) {
        const double t = table[y - 1];
        const int sy = std::isnan(t) ? 1 : int(std::clamp(std::nearbyint(t), 1.0, double(v.h)));
        for (int x = 1; x <= v.w; ++x) copyColour(v, x, y, x, sy);
    }
}

void twist(const PlaneView& v, int amount, std::uint32_t colour) {
    const double pi = std::numbers::pi;
    const int cx = v.w / 2, cy = v.h / 2, m = std::max(v.w, v.h);
    const float maxAngle = float(amount == 1   ? pi / 2
                                 : amount == 2 ? pi
                                 : amount == 4 ? 3 * pi / 2
                                               : 2 * pi);
    for (int y = 1; y <= v.h; ++y) {
        for (int x = 1; x <= v.w; ++x) {
            const double dx = x - cx, dy = y - cy;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double theta = (r / m) * maxAngle;
            const float co = float(std::cos(theta)), si = float(std::sin(theta));
            const double sx = std::nearbyint(dx * co - dy * si + cx);
            const double sy = std::nearbyint(dx * si + dy * co + cy);
            if (sx > 1 && sx < v.w && sy > 1 && sy < v.h) {
                copyColour(v, x, y, int(sx), int(sy));
            } else {
                for (int c = 0; c < 3; ++c) v.D(x, y, c) = std::uint8_t(colourComponent(colour, c));
            }
        }
    }
}

}  // namespace

std::vector<float> referenceWaveTable(std::int32_t width, std::int32_t height,
                                      std::int32_t amount) {
    std::vector<float> table;
    for (int i = 1; i <= std::max(width, height); ++i) {
        const double s = std::sin(i / 5.0);
        float t = float((s + s) * amount + i);
        if (t < 1) t = 1;
        if (t > height) t = float(height);
        table.push_back(t);
    }
    return table;
}

void referencePixelEffects(const std::uint8_t* undo, std::uint8_t* working, std::int32_t width,
                           std::int32_t height, const PixelEffectsCall& call) {
    const PlaneView v{undo, working, width, height};
    switch (call.opCode) {
        case 0:
            return smooth(v, call.amount);
        case 1:
            return inner(v, call.colour, edge);
        case 2:
            return inner(v, call.colour, relief);
        case 3:
            if (call.table != nullptr) wave(v, *call.table);
            return;
        case 4:
            return inner(v, call.colour, emboss);
        case 5:
            return twist(v, call.amount, call.colour);
        default:
            return;
    }
}

KernelCall kernelCall(const PixelEffectsCall& call) {
    const auto c = call.table != nullptr
                       ? reinterpret_cast<KernelPointerArgument>(call.table->data())
                       : kPlainFour;
    return {.opCode = call.opCode, .amount = call.amount, .colour = call.colour, .c = c};
}

}  // namespace quillon::testsupport
