// The LFO wave eight phases at a time, its form chosen once for a whole array of phases: the
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

// Hands `out(i, wave)` the wave at phases[i .. i + 8) for every i below `count` (a multiple of
// eight), in steps of eight.
template <class Out>
[[gnu::always_inline]] inline void Waves(const LfoShape& s, const double* phases, int count, Out&& out)
{
    using portable_math::Splat;
    const Lanes8 a = Splat<Lanes8>(s.a);
    const Lanes8 b = Splat<Lanes8>(s.b);
    const Lanes8 c = Splat<Lanes8>(s.c);
    const Lanes8 d = Splat<Lanes8>(s.d);
    const auto each = [&](auto wave) __attribute__((always_inline))
    {
        for (int i = 0; i < count; i += 8)
            out(i, wave(Load<Lanes8>(phases + i)));
    };
    const auto sine = [&](Lanes8 arg) __attribute__((always_inline))
    {
        return portable_math::ShiftedSinKernel(arg, s.quarters, s.flip) * s.scale + s.offset;
    };
    if (!s.sine)
        each([&](Lanes8 p) __attribute__((always_inline)) { return p < a ? p * b - 1.0 : c - p * d; });
    else if (s.a == std::numeric_limits<double>::infinity())
        each([&](Lanes8 p) __attribute__((always_inline)) { return sine(p * b); });
    else
        each([&](Lanes8 p) __attribute__((always_inline)) { return sine(p < a ? p * b : p * c + d); });
}

}  // namespace lfo_wave_lanes
