#include "effect/LfoSweep.h"

#include <cstring>
#include <limits>

namespace {

using portable_math::Splat;

constexpr int kRoom = LfoSweep::kRoom;

// The phases of both LFOs at each of `frames` frames, stepped one sample at a time (the two
// chains of dependent additions run side by side), padded to a whole step of eight with the
// phase after the last frame, which is left in `phase`.
[[gnu::always_inline]] inline void StepPhases(double (&phase)[2], const double (&increment)[2], int frames,
                                              double* __restrict first, double* __restrict second)
{
    double p0 = phase[0];
    double p1 = phase[1];
    int i = 0;
    for (; i < frames; ++i) {
        first[i] = p0;
        second[i] = p1;
        p0 = Lfo::NextPhase(p0, increment[0]);
        p1 = Lfo::NextPhase(p1, increment[1]);
    }
    for (; i % 8 != 0; ++i) {
        first[i] = p0;
        second[i] = p1;
    }
    phase[0] = p0;
    phase[1] = p1;
}

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

// The swept gain `wave(phase) * amp + centre` at each of `count` phases (a multiple of eight),
// the wave's form chosen once for the whole run.
[[gnu::always_inline]] inline void SweepWave(const LfoShape& s, double amp, double centre, const double* phases,
                                             int count, double* __restrict swept)
{
    const Lanes8 a = Splat<Lanes8>(s.a);
    const Lanes8 b = Splat<Lanes8>(s.b);
    const Lanes8 c = Splat<Lanes8>(s.c);
    const Lanes8 d = Splat<Lanes8>(s.d);
    const auto each = [&](auto wave) __attribute__((always_inline))
    {
        for (int i = 0; i < count; i += 8)
            Store(swept + i, wave(Load<Lanes8>(phases + i)) * amp + centre);
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

// Fills `low` and `high` with the weights of `frames` frames and leaves in `s` the phases after
// the last frame and the gains it leaves in effect.
[[gnu::always_inline]] inline void SweepFrames(LfoSweep::State& s, int frames, double* __restrict low,
                                               double* __restrict high)
{
    alignas(64) double phases[2][kRoom];
    alignas(64) double swept[2][kRoom];
    double phase[2] = {s.phase[0], s.phase[1]};
    const double increment[2] = {s.increment[0], s.increment[1]};
    StepPhases(phase, increment, frames, phases[0], phases[1]);
    const int count = (frames + 7) & ~7;
    for (int k = 0; k < 2; ++k)
        if (s.active[k])
            SweepWave(s.shape[k], s.amp[k], s.centre[k], phases[k], count, swept[k]);

    // Per gain: the values of the LFO that sweeps it, or none for its value in effect.
    const double* from[3];
    for (int g = 0; g < 3; ++g)
        from[g] = s.source[g] < 0 ? nullptr : swept[s.source[g]];
    const Lanes8 held[3] = {Splat<Lanes8>(s.now[0]), Splat<Lanes8>(s.now[1]), Splat<Lanes8>(s.now[2])};
    for (int i = 0; i < count; i += 8) {
        const Lanes8 out = from[0] ? Load<Lanes8>(from[0] + i) : held[0];
        const Lanes8 lowGain = from[1] ? Load<Lanes8>(from[1] + i) : held[1];
        const Lanes8 highGain = from[2] ? Load<Lanes8>(from[2] + i) : held[2];
        Store(low + i, out * lowGain);
        Store(high + i, out * highGain);
    }
    for (int k = 0; k < 2; ++k)
        if (s.active[k])
            s.phase[k] = phase[k];
    for (int g = 0; g < 3; ++g)
        if (from[g])
            s.now[g] = from[g][frames - 1];
}

void SweepSse2(LfoSweep::State& s, int frames, double* low, double* high) { SweepFrames(s, frames, low, high); }

#if VIBRASCEND_WIDE_LOOPS
[[gnu::target("avx2")]] void SweepAvx2(LfoSweep::State& s, int frames, double* low, double* high)
{
    SweepFrames(s, frames, low, high);
}

[[gnu::target("avx512f")]] void SweepAvx512(LfoSweep::State& s, int frames, double* low, double* high)
{
    SweepFrames(s, frames, low, high);
}
#endif

}  // namespace

LfoSweep::LfoSweep(Lfo& first, Lfo& second, BandGains& gains, VectorRegisters registers)
    : lfos{&first, &second}, gains(gains), registers(registers)
{
    int slot[2];
    for (int k = 0; k < 2; ++k) {
        state.active[k] = lfos[k]->Active() && lfos[k]->TargetGain() != GainTarget::None;
        slot[k] = static_cast<int>(lfos[k]->TargetGain()) - 1;
        state.shape[k] = lfos[k]->Shape();
        state.phase[k] = lfos[k]->Phase();
        state.increment[k] = lfos[k]->Increment();
        state.amp[k] = lfos[k]->Amp();
        state.centre[k] = lfos[k]->Centre();
    }
    state.now[0] = gains.outNow;
    state.now[1] = gains.lowNow;
    state.now[2] = gains.highNow;
    // Which value each gain takes per frame: its value in effect, or LFO 1's, or LFO 2's
    // (stepped after LFO 1, so it wins a shared gain).
    for (int g = 0; g < 3; ++g) {
        state.source[g] = -1;
        for (int k = 0; k < 2; ++k)
            if (state.active[k] && slot[k] == g)
                state.source[g] = k;
    }
}

void LfoSweep::Run(int frames)
{
    frames = frames < 1 ? 1 : frames > kMaxFrames ? kMaxFrames : frames;
    switch (registers) {
#if VIBRASCEND_WIDE_LOOPS
    case VectorRegisters::Avx512: SweepAvx512(state, frames, lowMul, highMul); break;
    case VectorRegisters::Avx2: SweepAvx2(state, frames, lowMul, highMul); break;
#endif
    default: SweepSse2(state, frames, lowMul, highMul); break;
    }
    next = 0;
    for (int k = 0; k < 2; ++k)
        if (state.active[k])
            lfos[k]->SetPhase(state.phase[k]);
    gains.outNow = state.now[0];
    gains.lowNow = state.now[1];
    gains.highNow = state.now[2];
    gains.lowMul = state.now[0] * state.now[1];
    gains.highMul = state.now[0] * state.now[2];
}
