// The vector registers a block loop of the audio path can be compiled for. Every choice runs the
// same operations lane by lane, so all give the same bits; the widest the processor has is the
// fastest.
#pragma once

#include <type_traits>

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

// The width of one register in bytes, as the argument a loop run by InVectorRegisters receives.
template <int kBytes>
using RegisterBytes = std::integral_constant<int, kBytes>;

// Doubles filling one register of kBytes bytes.
template <int kBytes>
using RegisterLanes [[gnu::vector_size(kBytes)]] = double;

namespace vector_registers {

#if VIBRASCEND_WIDE_LOOPS
template <class Loop>
[[gnu::target("avx2")]] auto InAvx2(const Loop& loop)
{
    return loop(RegisterBytes<32>{});
}

template <class Loop>
[[gnu::target("avx512f")]] auto InAvx512(const Loop& loop)
{
    return loop(RegisterBytes<64>{});
}
#endif

}  // namespace vector_registers

// Runs `loop(RegisterBytes<n>)` compiled for `registers` (which are to be available), n being their
// width, and answers what it answers. The loop is a lambda marked always_inline: inlined into a
// function built for those registers, its vector operations use them; every width runs the same
// operations lane by lane, so all give the same bits.
template <class Loop>
auto InVectorRegisters(VectorRegisters registers, const Loop& loop)
{
    switch (registers) {
#if VIBRASCEND_WIDE_LOOPS
    case VectorRegisters::Avx512: return vector_registers::InAvx512(loop);
    case VectorRegisters::Avx2: return vector_registers::InAvx2(loop);
#endif
    default: return loop(RegisterBytes<16>{});
    }
}
