#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/KernelRecord.h"
#include "engine/PixelEffectsOps.h"
#include "engine/PixelWords.h"
#include "engine/PlaneView.h"

namespace quillon {

// Pixel effects: every pixel of the working plane computed from a neighbourhood of the
// undo plane. Op codes 0 (smooth, by amount 1, 2, 4 or 8), 1 (edge filter), 2 (diagonal
// difference relief), 3 (vertical wave, c = address of the wave table), 4 (embossed
// relief) and 5 (twist); any other op code changes nothing. a and b are not read.
void pixelEffectsKernel(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
                        KernelPointerArgument c);

// The wave table of op code 3 for a W x H surface: max(W, H) single-precision rows,
// element 0 holding row 1. Each value lies between 1 and H.
std::vector<float> waveTable(std::int32_t width, std::int32_t height, std::int32_t amount);

}  // namespace quillon

// The passes behind the kernel, one per family of op codes. Each reads the undo plane
// and writes the working plane of one surface, row by row, once.
namespace quillon::pixeleffects {

// Op code 0: whole vectors at the best level the processor has, the plain word loop for
// the end of each row.
void smooth(const PlaneView& planes, std::int32_t amount);
// The plain word loop alone: the reference for the vector rows, also timed against them.
void smoothPlain(const PlaneView& planes, std::int32_t amount);

void edgeFilter(const PlaneView& planes, std::uint32_t colour);      // op code 1
void diagonalRelief(const PlaneView& planes, std::uint32_t colour);  // op code 2
void emboss(const PlaneView& planes, std::uint32_t colour);          // op code 4

// Op code 3. `table` holds at least H single-precision values (row 1 first), at any
// alignment; a value that does not round to a row of the surface is taken as the
// nearest row.
void wave(const PlaneView& planes, const void* table);

void twist(const PlaneView& planes, std::int32_t amount, std::uint32_t colour);  // op code 5

// The twist's cosine and sine of `count` angles at the active vector level, as single
// precision values: float(std::cos(θ)) and float(std::sin(θ)) to the bit, whatever way the
// level finds them.
void twistTurns(const double* angles, float* cosines, float* sines, std::size_t count);

}  // namespace quillon::pixeleffects
