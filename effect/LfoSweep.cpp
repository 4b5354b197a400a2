#include "effect/LfoSweep.h"

#include "effect/LfoWaveLanes.h"

#include <cstring>

namespace {

using lfo_wave_lanes::Load;
using lfo_wave_lanes::Store;
using portable_math::Splat;

// The phases of both LFOs before each of `frames` frames, stepped one sample at a time (the two
// chains of dependent additions run side by side), followed by the phase after the last frame,
// which pads the rest of the last step of eight.
[[gnu::always_inline]] inline void StepPhases(const double (&phase)[2], const double (&increment)[2], int frames,
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
    for (; i % 8 != 0 || i == frames; ++i) {
        first[i] = p0;
        second[i] = p1;
    }
}

// The wave at each of `count` phases (a multiple of eight), V's lanes at a time.
template <class V>
[[gnu::always_inline]] inline void WaveValues(const LfoShape& s, const double* phases, int count,
                                              double* __restrict waves)
{
    lfo_wave_lanes::Waves<V>(s, phases, count,
                             [&](int i, V wave) __attribute__((always_inline)) { Store(waves + i, wave); });
}

// Where a pass leaves its values.
struct PassOut {
    double* phases[2];
    double* waves[2];
    double* low;
    double* high;
};

// The weights of frames [first, first + count) (count a multiple of eight) from the waves: per
// frame the swept gain `wave * amp + centre` of the LFO that sweeps a gain, or the gain's value
// in effect.
[[gnu::always_inline]] inline void WeighFrames(const LfoSweep::State& s, int first, int count, const PassOut& out)
{
    // Per gain: the waves of the LFO that sweeps it, or none for its value in effect.
    const double* from[3];
    double amp[3];
    double centre[3];
    for (int g = 0; g < 3; ++g) {
        const int k = s.source[g];
        from[g] = k < 0 ? nullptr : out.waves[k];
        amp[g] = k < 0 ? 0.0 : s.amp[k];
        centre[g] = k < 0 ? 0.0 : s.centre[k];
    }
    const Lanes8 held[3] = {Splat<Lanes8>(s.now[0]), Splat<Lanes8>(s.now[1]), Splat<Lanes8>(s.now[2])};
    double* __restrict low = out.low;
    double* __restrict high = out.high;
    for (int i = first; i < first + count; i += 8) {
        const Lanes8 gain = from[0] ? Load<Lanes8>(from[0] + i) * amp[0] + centre[0] : held[0];
        const Lanes8 lowGain = from[1] ? Load<Lanes8>(from[1] + i) * amp[1] + centre[1] : held[1];
        const Lanes8 highGain = from[2] ? Load<Lanes8>(from[2] + i) * amp[2] + centre[2] : held[2];
        Store(low + i, gain * lowGain);
        Store(high + i, gain * highGain);
    }
}

// The phases and waves of `frames` frames from `s` (the waves in lanes of V), and with `weights`
// the weights.
template <class V>
[[gnu::always_inline]] inline void SweepFrames(const LfoSweep::State& s, int frames, bool weights, const PassOut& out)
{
    StepPhases(s.phase, s.increment, frames, out.phases[0], out.phases[1]);
    const int count = (frames + 7) & ~7;
    for (int k = 0; k < 2; ++k)
        if (s.active[k])
            WaveValues<V>(s.shape[k], out.phases[k], count, out.waves[k]);
    if (weights)
        WeighFrames(s, 0, count, out);
}

bool SameBits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

bool SameShape(const LfoShape& x, const LfoShape& y)
{
    return x.sine == y.sine && SameBits(x.a, y.a) && SameBits(x.b, y.b) && SameBits(x.c, y.c) && SameBits(x.d, y.d) &&
           x.quarters == y.quarters && x.flip == y.flip && SameBits(x.scale, y.scale) && SameBits(x.offset, y.offset);
}

}  // namespace

LfoSweep::LfoSweep(Lfo& first, Lfo& second, BandGains& gains, VectorRegisters registers)
    : lfos{&first, &second}, gains(gains), registers(registers)
{
}

LfoSweep::State LfoSweep::Current() const
{
    State s{};
    int slot[2];
    for (int k = 0; k < 2; ++k) {
        const Lfo& lfo = *lfos[k];
        s.active[k] = lfo.Active() && lfo.TargetGain() != GainTarget::None;
        slot[k] = static_cast<int>(lfo.TargetGain()) - 1;
        s.shape[k] = lfo.Shape();
        s.phase[k] = lfo.Phase();
        s.increment[k] = lfo.Increment();
        s.amp[k] = lfo.Amp();
        s.centre[k] = lfo.Centre();
    }
    s.now[0] = gains.outNow;
    s.now[1] = gains.lowNow;
    s.now[2] = gains.highNow;
    // Which value each gain takes per frame: its value in effect, or LFO 1's, or LFO 2's
    // (stepped after LFO 1, so it wins a shared gain).
    for (int g = 0; g < 3; ++g) {
        s.source[g] = -1;
        for (int k = 0; k < 2; ++k)
            if (s.active[k] && slot[k] == g)
                s.source[g] = k;
    }
    return s;
}

bool LfoSweep::WavesContinue() const
{
    if (passFrames == 0)
        return false;
    for (int k = 0; k < 2; ++k) {
        const Lfo& lfo = *lfos[k];
        const bool active = lfo.Active() && lfo.TargetGain() != GainTarget::None;
        if (active != start.active[k])
            return false;
        if (active && (!SameShape(lfo.Shape(), start.shape[k]) || !SameBits(lfo.Phase(), phases[k][offset]) ||
                       !SameBits(lfo.Increment(), start.increment[k])))
            return false;
    }
    return true;
}

bool LfoSweep::PassContinues() const
{
    if (!passWeights || !WavesContinue())
        return false;
    for (int k = 0; k < 2; ++k) {
        const Lfo& lfo = *lfos[k];
        if (start.active[k] && (lfo.TargetGain() != startTarget[k] || !SameBits(lfo.Amp(), start.amp[k]) ||
                                !SameBits(lfo.Centre(), start.centre[k])))
            return false;
    }
    // A swept gain's value in effect is the pass's own; a held one's is read by every frame.
    const double now[3] = {gains.outNow, gains.lowNow, gains.highNow};
    for (int g = 0; g < 3; ++g)
        if (start.source[g] < 0 && !SameBits(now[g], start.now[g]))
            return false;
    return true;
}

void LfoSweep::Weigh(const State& s)
{
    const PassOut out{{phases[0], phases[1]}, {waves[0], waves[1]}, lowMul, highMul};
    const int count = (passFrames - offset + 7) & ~7;
    InVectorRegisters(registers, [&](auto) __attribute__((always_inline)) { WeighFrames(s, offset, count, out); });
    start = s;
    passWeights = true;
    for (int k = 0; k < 2; ++k)
        startTarget[k] = lfos[k]->TargetGain();
}

void LfoSweep::Pass(const State& s, int frames, bool weights)
{
    const PassOut out{{phases[0], phases[1]}, {waves[0], waves[1]}, lowMul, highMul};
    InVectorRegisters(registers, [&](auto bytes) __attribute__((always_inline)) {
        SweepFrames<RegisterLanes<decltype(bytes)::value>>(s, frames, weights, out);
    });
    start = s;
    passWeights = weights;
    for (int k = 0; k < 2; ++k)
        startTarget[k] = lfos[k]->TargetGain();
    passFrames = frames;
    offset = 0;
}

bool LfoSweep::Begin(int frames)
{
    frames = frames < 1 ? 1 : frames > kMaxFrames ? kMaxFrames : frames;
    const bool wavesContinue = WavesContinue();
    if (!wavesContinue || offset + frames > passFrames) {
        const State s = Current();
        if (!s.active[0] && !s.active[1])
            return false;
        Pass(s, PassLength(frames, wavesContinue), true);
    } else if (!PassContinues()) {
        // The waves hold; the weights of the rest of the pass are computed again from them.
        const State s = Current();
        if (!s.active[0] && !s.active[1])
            return false;
        Weigh(s);
    }
    next = offset;
    runEnd = offset + frames;
    return true;
}

int LfoSweep::PassLength(int frames, bool continues) const
{
    // The waves went on unchanged to the end of the last pass: the next covers twice as many
    // frames, in whole runs of this length, up to kMaxFrames. After a change of the waves it
    // covers this run alone, so that waves changing every run cost no frames computed in vain.
    if (!continues)
        return frames;
    const int runs = kMaxFrames / frames;
    const int doubled = 2 * passFrames / frames;
    return frames * (doubled < runs ? (doubled > 1 ? doubled : 1) : runs);
}

LfoSweep::RunWaves LfoSweep::TakeWaves(int frames)
{
    frames = frames < 1 ? 1 : frames > kMaxFrames ? kMaxFrames : frames;
    const bool continues = WavesContinue();
    if (!continues || offset + frames > passFrames)
        Pass(Current(), PassLength(frames, continues), false);
    const RunWaves run{{waves[0] + offset, waves[1] + offset},
                       {phases[0][offset + frames], phases[1][offset + frames]}};
    offset += frames;
    return run;
}

void LfoSweep::End()
{
    for (int k = 0; k < 2; ++k)
        if (start.active[k])
            lfos[k]->SetPhase(phases[k][runEnd]);
    double now[3];
    for (int g = 0; g < 3; ++g) {
        const int k = start.source[g];
        now[g] = k < 0 ? start.now[g] : waves[k][runEnd - 1] * start.amp[k] + start.centre[k];
    }
    gains.outNow = now[0];
    gains.lowNow = now[1];
    gains.highNow = now[2];
    gains.lowMul = now[0] * now[1];
    gains.highMul = now[0] * now[2];
    offset = runEnd;
}
