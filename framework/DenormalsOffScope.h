// Flush-to-zero and denormals-are-zero for the lifetime of a scope, with the caller's
// floating-point mode restored at its end. Subnormal numbers cost many cycles per operation on
// x86-64 and are far below anything audible; the host's own mode stays as it set it.
#pragma once

#include <xmmintrin.h>

class DenormalsOffScope {
public:
    DenormalsOffScope() : saved(_mm_getcsr()) { _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero); }
    ~DenormalsOffScope() { _mm_setcsr(saved); }
    DenormalsOffScope(const DenormalsOffScope&) = delete;
    DenormalsOffScope& operator=(const DenormalsOffScope&) = delete;

private:
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned saved;
};
