// Op codes 4 to 8: pixels of colour X spread it into their surroundings. The scans run
// rows upward and columns left to right, in place: a pixel that an earlier blend turned
// into colour X is a source by the time the scan reaches it, so glows and streaks that
// reach ahead of the scan (up and right) can grow beyond their radius.
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

#include "engine/ColorXPasses.h"

namespace quillon::colorx {
namespace {

bool hasColourX(const std::uint8_t* pixel, const ColourX& colour) {
    return (loadPixel(pixel) & kColourBytes) == colour.pixelBits;
}

// The weight of ring d of a glow: the outermost ring (d = R) keeps a of its own colour and
// each ring further in b less.
float glowWeight(std::int32_t radius, std::int32_t d, float a, float b) {
    return float(double(a) - double(b) * double(radius - d));
}

// Pixel k of a streak (from the farthest, k = R, to the nearest): the weight drops by b at
// every step, starting from a - b.
std::vector<float> streakWeights(std::int32_t radius, float a, float b) {
    std::vector<float> steps(std::size_t(radius) + 1);
    float w = a;
    for (std::int32_t k = radius; k >= 1; --k) {
        w = float(double(w) - double(b));
        steps[std::size_t(k)] = w;
    }
    return steps;
}

std::vector<float> glowWeights(std::int32_t radius, float a, float b) {
    std::vector<float> rings(std::size_t(radius) + 1);
    for (std::int32_t d = 0; d <= radius; ++d) rings[std::size_t(d)] = glowWeight(radius, d, a, b);
    return rings;
}

// The weights are the same around every source, so for the radii a picture can hold many
// sources of, each weight is made into a table once per call, when the first source turns
// up (a picture without colour X pays nothing). Larger radii keep the prepared weights, as
// a table for every one of them would not fit in memory.
constexpr std::int32_t kLargestTabledRadius = 4096;

template <class Weight>
Weight prepared(float w, const ColourX& colour);
template <>
BlendWeight prepared<BlendWeight>(float w, const ColourX& colour) {
    return blendWeight(w, colour);
}
template <>
BlendTable prepared<BlendTable>(float w, const ColourX& colour) {
    return blendTable(blendWeight(w, colour));
}

bool keepsColourX(const BlendWeight& weight, const ColourX& colour) {
    for (int c = 0; c < 3; ++c) {
        if (blendedChannel(colour.channel[c], weight.own, weight.fromX[c]) != colour.channel[c])
            return false;
    }
    return true;
}
bool keepsColourX(const BlendTable& table, const ColourX& colour) {
    for (int c = 0; c < 3; ++c) {
        if (table.channel[c][colour.channel[c]] != colour.channel[c]) return false;
    }
    return true;
}

// The pixels not of colour X, counted by row and by column. When every weight leaves a
// pixel of colour X exactly as it is (checked, not assumed), blending such a pixel changes
// nothing and a spread only ever turns pixels into colour X: a row or a column that is all
// colour X stays so, and every blend there may be skipped with the result unchanged. A
// black picture glowing black is then a count per row instead of a square per pixel.
class ColourXCensus {
public:
    ColourXCensus(const PlaneView& plane, const ColourX& colour)
        : rows_(std::size_t(plane.height) + 1), columns_(std::size_t(plane.width) + 1) {
        for (std::int64_t y = 1; y <= plane.height; ++y) {
            const std::uint8_t* pixel = plane.targetRow(y);
            for (std::int64_t x = 1; x <= plane.width; ++x, pixel += 4) {
                if (hasColourX(pixel, colour)) continue;
                ++rows_[std::size_t(y)];
                ++columns_[std::size_t(x)];
            }
        }
    }
    bool rowIsColourX(std::int64_t y) const { return rows_[std::size_t(y)] == 0; }
    bool columnIsColourX(std::int64_t x) const { return columns_[std::size_t(x)] == 0; }
    bool rowsAreColourX(std::int64_t first, std::int64_t last) const {
        for (std::int64_t y = first; y <= last; ++y) {
            if (!rowIsColourX(y)) return false;
        }
        return true;
    }
    void turnedColourX(std::int64_t x, std::int64_t y) {
        --rows_[std::size_t(y)];
        --columns_[std::size_t(x)];
    }

private:
    std::vector<std::int64_t> rows_, columns_;
};

// Whether colour X covers enough of the picture for the census to pay: counting and
// checking cost more than they save where sources are few and far between. Every eighth
// row is looked at; one pixel in sixteen is enough.
bool mostlyColourX(const PlaneView& plane, const ColourX& colour) {
    std::int64_t seen = 0, found = 0;
    for (std::int64_t y = 1; y <= plane.height; y += 8) {
        const std::uint8_t* row = plane.targetRow(y);
        for (std::int64_t x = nextColourX(row, 1, plane.width, colour.pixelBits); x <= plane.width;
             x = nextColourX(row, x + 1, plane.width, colour.pixelBits))
            ++found;
        seen += plane.width;
    }
    return found * 16 >= seen;
}

// The weights of a glow's rings or a streak's steps, prepared at the first source, and
// the census when they allow one.
template <class Weight>
class SpreadWeights {
public:
    using MakeWeights = std::function<std::vector<float>()>;
    SpreadWeights(const PlaneView& plane, const ColourX& colour, MakeWeights makeWeights)
        : plane_(plane), colour_(colour), makeWeights_(std::move(makeWeights)) {}

    void prepare() {
        if (!weights_.empty()) return;
        bool keeps = true;
        for (const float w : makeWeights_()) {
            weights_.push_back(prepared<Weight>(w, colour_));
            keeps = keeps && keepsColourX(weights_.back(), colour_);
        }
        if (keeps && mostlyColourX(plane_, colour_)) census_.emplace(plane_, colour_);
    }
    const Weight& operator[](std::int64_t i) const { return weights_[std::size_t(i)]; }
    ColourXCensus* census() { return census_ ? &*census_ : nullptr; }
    const ColourX& colour() const { return colour_; }

    // Blends one pixel; with a census, a pixel of colour X is left as the blend would
    // leave it, and one the blend turns into colour X is counted.
    void blendAt(std::uint8_t* pixel, std::int64_t x, std::int64_t y, const Weight& weight) {
        if (!census_) return blend(pixel, weight);
        if (hasColourX(pixel, colour_)) return;
        blend(pixel, weight);
        if (hasColourX(pixel, colour_)) census_->turnedColourX(x, y);
    }

private:
    const PlaneView& plane_;
    const ColourX& colour_;
    MakeWeights makeWeights_;
    std::vector<Weight> weights_;
    std::optional<ColourXCensus> census_;
};

// The sources a streak may start from: those whose R pixels in its direction all lie
// inside the picture. A glow takes its sources from such an area too, with no step.
struct SourceArea {
    std::int64_t firstX, lastX, firstY, lastY;
    std::int64_t stepX, stepY;  // from one pixel of the streak to the next one out
};

SourceArea streakArea(const PlaneView& plane, ColorXEffect streak, std::int64_t radius) {
    const std::int64_t w = plane.width, h = plane.height;
    switch (streak) {
        case ColorXEffect::StreakUp:
            return {1, w, 1, h - radius, 0, 1};
        case ColorXEffect::StreakDown:
            return {1, w, radius + 1, h, 0, -1};
        case ColorXEffect::StreakLeft:
            return {radius + 1, w, 1, h, -1, 0};
        default:
            return {1, w - radius, 1, h, 1, 0};
    }
}

// Calls visit(x, y) for every pixel of colour X in the given columns and rows, rows upward
// and columns left to right; a visit may change pixels the scan has yet to reach. A row
// for which `idle(y)` holds has no visit that would change anything, and is passed by.
template <class Idle, class Visit>
void forEachSource(const PlaneView& plane, const ColourX& colour, const SourceArea& area, Idle idle,
                   Visit visit) {
    for (std::int64_t y = area.firstY; y <= area.lastY; ++y) {
        if (idle(y)) continue;
        const std::uint8_t* row = plane.targetRow(y);
        for (std::int64_t x = nextColourX(row, area.firstX, area.lastX, colour.pixelBits);
             x <= area.lastX; x = nextColourX(row, x + 1, area.lastX, colour.pixelBits))
            visit(x, y);
    }
}

// Every pixel of the square around a source is blended once and only with its own value,
// so the square may be visited row by row: pixel (dx, dy) belongs to ring max(|dx|, |dy|).
template <class Weight>
void glowAround(const PlaneView& plane, SpreadWeights<Weight>& rings, std::int64_t x,
                std::int64_t y, std::int64_t radius) {
    const ColourXCensus* census = rings.census();
    for (std::int64_t dy = -radius; dy <= radius; ++dy) {
        if (census != nullptr && census->rowIsColourX(y + dy)) continue;
        std::uint8_t* pixel = plane.targetAt(x - radius, y + dy);
        for (std::int64_t dx = -radius; dx <= radius; ++dx, pixel += 4)
            rings.blendAt(pixel, x + dx, y + dy, rings[std::max(std::abs(dx), std::abs(dy))]);
    }
}

// The last column of the run of colour X that starts at x, up to `last`.
std::int64_t endOfRun(const std::uint8_t* row, std::int64_t x, std::int64_t last,
                      const ColourX& colour) {
    while (x < last && hasColourX(row + columnOffset(x + 1), colour)) ++x;
    return x;
}

// A pixel in the middle of a run of sources at least a square wide is blended by 2R + 1 of
// them in turn, left to right, with the weights of one row of the square; those lookups
// compose into one table for each distance from the sources' row. Worth making only for
// radii whose tables compose quickly.
constexpr std::int64_t kLargestComposedRadius = 256;

std::vector<BlendTable> composedRows(const SpreadWeights<BlendTable>& rings, std::int64_t radius) {
    std::vector<BlendTable> rows(std::size_t(radius) + 1);
    for (std::int64_t dy = 0; dy <= radius; ++dy) {
        BlendTable& composed = rows[std::size_t(dy)];
        for (int c = 0; c < 3; ++c) {
            for (int v = 0; v < 256; ++v) {
                std::uint8_t value = std::uint8_t(v);
                for (std::int64_t dx = radius; dx >= -radius; --dx)
                    value = rings[std::max(std::abs(dx), dy)].channel[c][value];
                composed.channel[c][v] = value;
            }
        }
    }
    return rows;
}

// The glows of the run of sources xs..xe of row y, pixel by pixel: each pixel takes the
// blends of the sources that reach it, in their order, which is the order the sources
// would give them one square after another (every blend depends on the pixel alone).
template <class Weight>
void glowAroundRun(const PlaneView& plane, SpreadWeights<Weight>& rings,
                   const std::vector<BlendTable>* composed, std::int64_t xs, std::int64_t xe,
                   std::int64_t y, std::int64_t radius) {
    ColourXCensus& census = *rings.census();
    const ColourX& colour = rings.colour();
    for (std::int64_t yy = y - radius; yy <= y + radius; ++yy) {
        if (census.rowIsColourX(yy)) continue;
        const std::int64_t dy = std::abs(yy - y);
        std::uint8_t* pixel = plane.targetAt(xs - radius, yy);
        for (std::int64_t px = xs - radius; px <= xe + radius; ++px, pixel += 4) {
            if (hasColourX(pixel, colour)) continue;
            const std::int64_t first = std::max(xs, px - radius), last = std::min(xe, px + radius);
            if (composed != nullptr && first == px - radius && last == px + radius) {
                blend(pixel, (*composed)[std::size_t(dy)]);
            } else {
                for (std::int64_t x = first; x <= last; ++x)
                    blend(pixel, rings[std::max(std::abs(px - x), dy)]);
            }
            if (hasColourX(pixel, colour)) census.turnedColourX(px, yy);
        }
    }
}

template <class Weight>
void glowWith(const PlaneView& plane, const ColourX& colour, std::int32_t radius, float a,
              float b) {
    const std::int64_t first = std::int64_t{radius} + 1;
    const SourceArea area{first, std::int64_t{plane.width} - radius,
                          first, std::int64_t{plane.height} - radius,
                          0,     0};
    SpreadWeights<Weight> rings(plane, colour, [=] { return glowWeights(radius, a, b); });
    std::vector<BlendTable> composed;
    const auto composedForRuns = [&]() -> const std::vector<BlendTable>* {
        if constexpr (std::is_same_v<Weight, BlendTable>) {
            if (radius > kLargestComposedRadius) return nullptr;
            if (composed.empty()) composed = composedRows(rings, radius);
            return &composed;
        }
        return nullptr;
    };
    for (std::int64_t y = area.firstY; y <= area.lastY; ++y) {
        const ColourXCensus* census = rings.census();
        if (census != nullptr && census->rowsAreColourX(y - radius, y + radius)) continue;
        const std::uint8_t* row = plane.targetRow(y);
        for (std::int64_t x = nextColourX(row, area.firstX, area.lastX, colour.pixelBits);
             x <= area.lastX; x = nextColourX(row, x + 1, area.lastX, colour.pixelBits)) {
            rings.prepare();
            if (rings.census() == nullptr) {
                glowAround(plane, rings, x, y, radius);
                continue;
            }
            const std::int64_t end = endOfRun(row, x, area.lastX, colour);
            glowAroundRun(plane, rings, end - x >= 2 * radius ? composedForRuns() : nullptr, x, end,
                          y, radius);
            x = end;
        }
    }
}

// Pixels k = R down to 1 of the streak from a source.
template <class Weight>
void streakWith(const PlaneView& plane, const ColourX& colour, const SourceArea& area,
                std::int32_t radius, float a, float b) {
    SpreadWeights<Weight> steps(plane, colour, [=] { return streakWeights(radius, a, b); });
    const bool alongRows = area.stepY == 0;
    const auto idle = [&](std::int64_t y) {
        const ColourXCensus* census = steps.census();
        return alongRows && census != nullptr && census->rowIsColourX(y);
    };
    const std::ptrdiff_t step = area.stepX * 4 + area.stepY * plane.rowBytes();
    forEachSource(plane, colour, area, idle, [&](std::int64_t x, std::int64_t y) {
        steps.prepare();
        const ColourXCensus* census = steps.census();
        if (!alongRows && census != nullptr && census->columnIsColourX(x)) return;
        std::uint8_t* source = plane.targetAt(x, y);
        for (std::int64_t k = radius; k >= 1; --k) {
            steps.blendAt(source + k * step, x + k * area.stepX, y + k * area.stepY, steps[k]);
        }
    });
}

}  // namespace

void glowAroundColourX(const PlaneView& plane, const ColourX& colour, std::int32_t radius, float a,
                       float b) {
    if (!colour.matchable) return;
    if (radius > kLargestTabledRadius) return glowWith<BlendWeight>(plane, colour, radius, a, b);
    glowWith<BlendTable>(plane, colour, radius, a, b);
}

void streakFromColourX(const PlaneView& plane, const ColourX& colour, ColorXEffect streak,
                       std::int32_t radius, float a, float b) {
    if (!colour.matchable) return;
    const SourceArea area = streakArea(plane, streak, radius);
    if (radius > kLargestTabledRadius)
        return streakWith<BlendWeight>(plane, colour, area, radius, a, b);
    streakWith<BlendTable>(plane, colour, area, radius, a, b);
}

}  // namespace quillon::colorx
