// The copy of the silent fall-back: the frames from the start that are silent on both channels
// copied from input to output and counted, in the widest registers the caller names.
#pragma once

#include "effect/VectorRegisters.h"

namespace silence_copy {

// How many frames from the start are silent (every sample at or below `threshold` in magnitude,
// or NaN); they, and possibly a few after them, are copied.
int CopySilentRun(VectorRegisters registers, const float* inL, const float* inR, float* outL, float* outR, int frames,
                  double threshold);
int CopySilentRun(VectorRegisters registers, const double* inL, const double* inR, double* outL, double* outR,
                  int frames, double threshold);

}  // namespace silence_copy
