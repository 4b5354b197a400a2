#include "effect/SilenceCopy.h"

#include "effect/BandSplitBlock.h"

namespace silence_copy {
namespace {

template <class T>
int CopySse2(const T* inL, const T* inR, T* outL, T* outR, int frames, double threshold)
{
    return band_split_block::CopySilentRun<T, 16>(inL, inR, outL, outR, frames, threshold);
}

#if VIBRASCEND_WIDE_LOOPS
template <class T>
[[gnu::target("avx2")]] int CopyAvx2(const T* inL, const T* inR, T* outL, T* outR, int frames, double threshold)
{
    return band_split_block::CopySilentRun<T, 32>(inL, inR, outL, outR, frames, threshold);
}

template <class T>
[[gnu::target("avx512f")]] int CopyAvx512(const T* inL, const T* inR, T* outL, T* outR, int frames, double threshold)
{
    return band_split_block::CopySilentRun<T, 64>(inL, inR, outL, outR, frames, threshold);
}
#endif

template <class T>
int Copy(VectorRegisters registers, const T* inL, const T* inR, T* outL, T* outR, int frames, double threshold)
{
    switch (registers) {
#if VIBRASCEND_WIDE_LOOPS
    case VectorRegisters::Avx512: return CopyAvx512(inL, inR, outL, outR, frames, threshold);
    case VectorRegisters::Avx2: return CopyAvx2(inL, inR, outL, outR, frames, threshold);
#endif
    default: return CopySse2(inL, inR, outL, outR, frames, threshold);
    }
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
