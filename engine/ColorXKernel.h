#pragma once

#include "engine/ColorXOps.h"
#include "engine/KernelRecord.h"

namespace quillon {

// Colour X effects: paints the colour in the record (colour X) into the working plane,
// or lets the pixels that already have exactly that colour spread it around them.
//   0      one dot at column round(a·W + 1), row round(b·H + 1) (a, b in [0, 1))
//   1..3   horizontal lines, vertical lines, a dot lattice, Amount apart, anchored at
//          the top row and the right column
//   4      a square glow of radius R around every pixel of colour X
//   5..8   a fading streak of R pixels up, down, left or right of such pixels
//   other  a brightening ring round column a, row H - b, of radius 24·Amount
// a and b are single-precision bit patterns; c is not read. R grows with Amount (see
// spreadRadius). An Amount below 1 leaves op codes other than 0 without effect, since
// a spacing or radius below 1 has no sensible meaning.
void colorXEffectsKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                         KernelPointerArgument c);

}  // namespace quillon
