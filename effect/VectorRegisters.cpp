#include "effect/VectorRegisters.h"

#include <initializer_list>

bool VectorRegistersAvailable(VectorRegisters registers)
{
    switch (registers) {
    case VectorRegisters::Sse2: return true;
#if VIBRASCEND_WIDE_LOOPS
    case VectorRegisters::Avx2: __builtin_cpu_init(); return __builtin_cpu_supports("avx2");
    case VectorRegisters::Avx512: __builtin_cpu_init(); return __builtin_cpu_supports("avx512f");
#endif
    default: return false;
    }
}

VectorRegisters WidestVectorRegisters()
{
    for (VectorRegisters r : {VectorRegisters::Avx512, VectorRegisters::Avx2})
        if (VectorRegistersAvailable(r))
            return r;
    return VectorRegisters::Sse2;
}
