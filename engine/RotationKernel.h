#pragma once

#include "engine/KernelRecord.h"
#include "engine/RotationOps.h"

namespace quillon {

// Turns a source plane by a whole number of degrees about a centre and writes the result
// into the working plane. Every destination pixel looks up the point it came from and
// takes either the nearest source pixel or a bilinear blend of the 2 x 2 cell around it;
// a point outside the picture gives the background colour (record field 5, 0x00BBGGRR).
// The reserved byte of a destination pixel is never written.
//
// Op code (field 6): bit 0 set blends, clear takes the nearest pixel; bit 1 set reads the
// original plane, clear the undo plane. Any other op code changes nothing.
// a: centre column (1 = left), single precision. b: centre row counted down from the top
// (0 = the top row), single precision. c: the angle in degrees, clockwise on the screen.
void rotationKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                    KernelPointerArgument c);

}  // namespace quillon
