// The LFO wave a register of phases at a time, its form chosen once for a whole array of phases: the
// kernel that the sweep's passes and the runs of moving settings share. Inlined, so that a caller
// compiled for wider registers computes it in them, with the same operations lane by lane.
#pragma once

#include "effect/Lfo.h"
#include "effect/PortableMath.h"

#include <cstring>
#include <limits>

namespace lfo_wave_lanes {

template <class V>
[[gnu::always_inline]] inline V Load(const double* p)
{
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class V>
[[gnu::always_inline]] inline void Store(double* p, V v)
{
    std::memcpy(p, &v, sizeof v);
}

// The three forms of the wave at the phases of V's lanes: a ramp, a sine of the
// phase scaled, and a sine of a phase bent at `a`.
template <class V>
[[gnu::always_inline]] inline V RampWave(const LfoShape& s, V p)
{
    return p < s.a ? p * s.b - 1.0 : s.c - p * s.d;
}

template <class V>
[[gnu::always_inline]] inline V SineOf(const LfoShape& s, V arg)
{
    return portable_math::ShiftedSinKernel(arg, s.quarters, s.flip) * s.scale + s.offset;
}

[[gnu::always_inline]] inline bool Unbent(const LfoShape& s) { return s.a == std::numeric_limits<double>::infinity(); }

template <class V>
[[gnu::always_inline]] inline V ScaledSineWave(const LfoShape& s, V p)
{
    return SineOf(s, p * s.b);
}

template <class V>
[[gnu::always_inline]] inline V BentSineWave(const LfoShape& s, V p)
{
    return SineOf(s, p < s.a ? p * s.b : p * s.c + s.d);
}

// Hands `out(i, wave)` the wave at phases[i .. i + n) for every i below `count` (a multiple of
// eight), in steps of V's n lanes, the form chosen once for them all. A V as wide as one register
// keeps the sine's work in registers (a wider one costs more than it saves where the registers
// are narrower).
template <class V, class Out>
[[gnu::always_inline]] inline void Waves(const LfoShape& s, const double* phases, int count, Out&& out)
{
    constexpr int kLanes = static_cast<int>(sizeof(V) / sizeof(double));
    static_assert(8 % kLanes == 0);
    const auto each = [&](auto wave) __attribute__((always_inline))
    {
        for (int i = 0; i < count; i += kLanes)
            out(i, wave(s, Load<V>(phases + i)));
    };
    if (!s.sine)
        each([](const LfoShape& f, V p) __attribute__((always_inline)) { return RampWave(f, p); });
    else if (Unbent(s))
        each([](const LfoShape& f, V p) __attribute__((always_inline)) { return ScaledSineWave(f, p); });
    else
        each([](const LfoShape& f, V p) __attribute__((always_inline)) { return BentSineWave(f, p); });
}

}  // namespace lfo_wave_lanes
