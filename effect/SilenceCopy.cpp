#include "effect/SilenceCopy.h"

#include "effect/BandSplitBlock.h"

namespace silence_copy {
namespace {

template <class T>
int Copy(VectorRegisters registers, const T* inL, const T* inR, T* outL, T* outR, int frames, double threshold)
{
    return InVectorRegisters(registers, [&](auto bytes) __attribute__((always_inline)) {
        return band_split_block::CopySilentRun<T, decltype(bytes)::value>(inL, inR, outL, outR, frames, threshold);
    });
}

}  // namespace

int CopySilentRun(VectorRegisters registers, const float* inL, const float* inR, float* outL, float* outR, int frames,
                  double threshold)
{
    return Copy(registers, inL, inR, outL, outR, frames, threshold);
}

int CopySilentRun(VectorRegisters registers, const double* inL, const double* inR, double* outL, double* outR,
                  int frames, double threshold)
{
    return Copy(registers, inL, inR, outL, outR, frames, threshold);
}

}  // namespace silence_copy
