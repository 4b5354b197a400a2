#include "effect/LfoSweep.h"

#include <cstring>

#if defined(__x86_64__) && !defined(_WIN32)
// The Windows toolchain cannot align the stack for values of AVX registers that it spills, so
// there the two-register pass runs.
#define VIBRASCEND_AVX_PASS 1
#endif

namespace {

// The values gain `gain` takes over the four frames.
[[gnu::always_inline]] inline void Value(const LfoSweep::State& s, int gain, const Lanes4* swept, Lanes4& value)
{
    const int k = s.source[gain];
    value = k >= 0 ? swept[k] : Lanes4{} + s.now[gain];
}

// Fills `low` and `high` with the weights of `frames` frames, four at a time, and leaves in `s`
// the phases after the last frame and the gains it leaves in effect.
[[gnu::always_inline]] inline void SweepFrames(LfoSweep::State& s, int frames, double* low, double* high)
{
    double last[3] = {s.now[0], s.now[1], s.now[2]};
    for (int i = 0; i < frames; i += 4) {
        const int used = frames - i < 4 ? frames - i : 4;
        Lanes4 swept[2] = {};
        for (int k = 0; k < 2; ++k) {
            if (!s.active[k])
                continue;
            double p[5];
            p[0] = s.phase[k];
            for (int n = 1; n < 5; ++n)
                p[n] = Lfo::NextPhase(p[n - 1], s.increment[k]);
            s.phase[k] = p[used];
            const Lanes4 phases = {p[0], p[1], p[2], p[3]};
            swept[k] = WaveOf(s.shape[k], phases) * s.amp[k] + s.centre[k];
        }
        Lanes4 out;
        Lanes4 lowGain;
        Lanes4 highGain;
        Value(s, 0, swept, out);
        Value(s, 1, swept, lowGain);
        Value(s, 2, swept, highGain);
        const Lanes4 lowMul = out * lowGain;
        const Lanes4 highMul = out * highGain;
        std::memcpy(low + i, &lowMul, sizeof lowMul);
        std::memcpy(high + i, &highMul, sizeof highMul);
        if (i + 4 >= frames) {
            last[0] = out[used - 1];
            last[1] = lowGain[used - 1];
            last[2] = highGain[used - 1];
        }
    }
    for (int g = 0; g < 3; ++g)
        s.now[g] = last[g];
}

void SweepPortable(LfoSweep::State& s, int frames, double* low, double* high) { SweepFrames(s, frames, low, high); }

#if VIBRASCEND_AVX_PASS
[[gnu::target("avx")]] void SweepAvx(LfoSweep::State& s, int frames, double* low, double* high)
{
    SweepFrames(s, frames, low, high);
}
#endif

}  // namespace

bool LfoSweep::WideLanesAvailable()
{
#if VIBRASCEND_AVX_PASS
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
#else
    return false;
#endif
}

LfoSweep::LfoSweep(Lfo& first, Lfo& second, BandGains& gains, bool wideLanes)
    : lfos{&first, &second}, gains(gains), wide(wideLanes)
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
#if VIBRASCEND_AVX_PASS
    if (wide)
        SweepAvx(state, frames, lowMul, highMul);
    else
        SweepPortable(state, frames, lowMul, highMul);
#else
    SweepPortable(state, frames, lowMul, highMul);
#endif
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

void LfoSweep::Pair(Lanes2& low, Lanes2& high)
{
    std::memcpy(&low, lowMul + next, sizeof low);
    std::memcpy(&high, highMul + next, sizeof high);
    next += 2;
}
