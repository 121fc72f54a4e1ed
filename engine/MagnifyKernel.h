#pragma once

#include "engine/KernelRecord.h"
#include "engine/MagnifyOps.h"

namespace quillon {

// Magnify: scales the picture about a centre, filling the working plane from the undo
// plane. Every destination pixel is mapped back into the source and takes the nearest
// source pixel (op code 0) or a bilinear blend of the four around the mapped point
// (op code 1); a point that falls outside the picture takes the background colour of
// the record (0x00BBGGRR). Any other op code changes nothing.
//
//   a: centre column, single precision, in surface columns
//   b: centre row counted from the top of the picture, single precision
//   c: the factor in tenths (20 doubles the size, 5 halves it, a negative one mirrors)
//
// Only blue, green and red are written; the reserved byte of each pixel stays. No
// argument, however absurd (0, NaN, infinite or far-away centres), makes the kernel
// touch memory outside the working and undo planes.
void magnifyKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                   KernelPointerArgument c);

}  // namespace quillon
