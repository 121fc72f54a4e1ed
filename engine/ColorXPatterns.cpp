// Op codes 0 to 3: colour X painted at given places, whatever the pixels hold.
#include "engine/ColorXPasses.h"

namespace quillon::colorx {

void paintRandomDot(const PlaneView& plane, const ColourX& colour, float a, float b) {
    // a and b lie in [0, 1), so the products can round up to one past the last column
    // or row; those dots go to the last one. A value below 0 (or not a number) would
    // give a place before the first column or row: such a dot lies outside the picture
    // and is not drawn.
    std::int32_t x = roundToInt32(double(a) * double(plane.width) + 1.0);
    std::int32_t y = roundToInt32(double(b) * double(plane.height) + 1.0);
    if (x > plane.width) x = plane.width;
    if (y > plane.height) y = plane.height;
    if (x < 1 || y < 1) return;
    paint(plane.targetAt(x, y), colour);
}

// The patterns are anchored at the top row and the right column and step down and left
// by the spacing while they are inside the picture. Painting sets a pixel whatever it
// holds, so the pixels of a row may be painted in any order: a spacing of 1 paints the
// whole row as one run.
namespace {

void paintRow(const PlaneView& plane, const ColourX& colour, std::int64_t y) {
    paintRun(plane.targetRow(y), plane.width, colour.pixelBits);
}

void paintColumns(const PlaneView& plane, const ColourX& colour, std::int64_t y,
                  std::int32_t spacing) {
    if (spacing == 1) return paintRow(plane, colour, y);
    for (std::int64_t x = plane.width; x > 0; x -= spacing) paint(plane.targetAt(x, y), colour);
}

}  // namespace

void paintHorizontalLines(const PlaneView& plane, const ColourX& colour, std::int32_t spacing) {
    for (std::int64_t y = plane.height; y > 0; y -= spacing) paintRow(plane, colour, y);
}

void paintVerticalLines(const PlaneView& plane, const ColourX& colour, std::int32_t spacing) {
    for (std::int64_t y = 1; y <= plane.height; ++y) paintColumns(plane, colour, y, spacing);
}

void paintDotLattice(const PlaneView& plane, const ColourX& colour, std::int32_t spacing) {
    for (std::int64_t y = plane.height; y > 0; y -= spacing)
        paintColumns(plane, colour, y, spacing);
}

}  // namespace quillon::colorx
