// The vector registers a block loop of the audio path can be compiled for. Every choice runs the
// same operations lane by lane, so all give the same bits; the widest the processor has is the
// fastest.
#pragma once

enum class VectorRegisters {
    Sse2,
    Avx2,
    Avx512
};

// Whether this processor (and system) runs loops compiled for `registers`; SSE2 always runs.
bool VectorRegistersAvailable(VectorRegisters registers);

// The widest registers available.
VectorRegisters WidestVectorRegisters();

#if defined(__x86_64__) && !defined(_WIN32)
// The Windows toolchain cannot align the stack for values of AVX registers that it spills, so
// there the SSE2 loops run.
#define VIBRASCEND_WIDE_LOOPS 1
#endif
