#include "effect/BandMotion.h"

#include "effect/LfoWaveLanes.h"

#include <cmath>

namespace {

using lfo_wave_lanes::Load;
using lfo_wave_lanes::Store;
using portable_math::Splat;

typedef float Floats8 __attribute__((vector_size(32)));

constexpr int kFrames = BandMotion::kRunFrames;
static_assert(kFrames % 8 == 0);

// What the weights of a moving run are computed from: the glides as the run finds them, and per
// LFO whether it sweeps a gain (and which: 0 output, 1 low, 2 high), its wave and its phase.
struct MovingRun {
    const Glide* gains;
    const Glide* depths;
    bool active[2];
    int gain[2];
    LfoShape shape[2];
    double phase[2];
    double increment[2];
};

// What it leaves: the weights, the gains in effect at the run's last frame, the phases after it.
struct MovingOut {
    double* low;
    double* high;
    double now[3];
    double phase[2];
};

// A glide's values for `count` frames from where it stands, eight at a time: frame f gets what
// its f-th call of Next would answer (start + d * step while d = done + f is below its length,
// the target from there on), computed with the same operations.
[[gnu::always_inline]] inline void GlideValues(const Glide& glide, int count, double* __restrict values)
{
    if (!glide.Moving()) {
        for (int i = 0; i < count; i += 8)
            Store(values + i, Splat<Lanes8>(glide.value));
        return;
    }
    const Lanes8 lane = {0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0};
    const Lanes8 start = Splat<Lanes8>(glide.start);
    const Lanes8 target = Splat<Lanes8>(glide.target);
    const Lanes8 length = Splat<Lanes8>(static_cast<double>(glide.frames));
    for (int i = 0; i < count; i += 8) {
        const Lanes8 d = Splat<Lanes8>(static_cast<double>(glide.done + i)) + lane;
        // At d = 0 the glide answers its start as it stands, not start + 0 * step.
        const Lanes8 along = d == 0.0 ? start : start + d * glide.step;
        Store(values + i, d >= length ? target : along);
    }
}

// Lfo::RangeOf lane by lane, in floats as it computes: the amplitude and centre of the sweep for
// each depth and base gain.
[[gnu::always_inline]] inline void RangesOf(Floats8 depth, Floats8 base, Floats8& centre, Floats8& amp)
{
    amp = depth * Lfo::kGainSpan * 0.5f;
    const Floats8 upper = Lfo::kMaxGain - amp;
    const Floats8 m = base < upper ? base : upper;
    const Floats8 lowest = amp + Lfo::kMinGain;
    centre = lowest > m ? lowest : m;
}

[[gnu::always_inline]] inline void MovingWeights(const MovingRun& in, int frames, MovingOut& out)
{
    frames = frames < kFrames ? frames : kFrames;
    const int count = (frames + 7) & ~7;
    // The gains' values frame by frame, which the LFOs then overwrite where they sweep.
    alignas(64) double now[3][kFrames];
    for (int g = 0; g < 3; ++g)
        GlideValues(in.gains[g], count, now[g]);

    // Both LFOs' phases one sample at a time, side by side; an idle LFO's stand still. The rest of
    // the last step of eight repeats the phase after the run.
    alignas(64) double phases[2][kFrames];
    double p[2];
    double increment[2];
    for (int k = 0; k < 2; ++k) {
        p[k] = in.active[k] ? in.phase[k] : 0.0;
        increment[k] = in.active[k] ? in.increment[k] : 0.0;
    }
    for (int f = 0; f < frames; ++f) {
        phases[0][f] = p[0];
        phases[1][f] = p[1];
        p[0] = Lfo::NextPhase(p[0], increment[0]);
        p[1] = Lfo::NextPhase(p[1], increment[1]);
    }
    for (int f = frames; f < count; ++f) {
        phases[0][f] = p[0];
        phases[1][f] = p[1];
    }

    alignas(64) double depth[kFrames];
    for (int k = 0; k < 2; ++k) {
        out.phase[k] = p[k];
        if (!in.active[k])
            continue;
        GlideValues(in.depths[k], count, depth);
        double* swept = now[in.gain[k]];
        if (in.depths[k].Moving() || in.gains[in.gain[k]].Moving()) {
            // Centre and amplitude per frame, from the depth and the gain as they move.
            lfo_wave_lanes::Waves(in.shape[k], phases[k], count, [&](int i, Lanes8 wave) __attribute__((always_inline)) {
                Floats8 centre;
                Floats8 amp;
                RangesOf(__builtin_convertvector(Load<Lanes8>(depth + i), Floats8),
                         __builtin_convertvector(Load<Lanes8>(swept + i), Floats8), centre, amp);
                Store(swept + i, __builtin_convertvector(amp, Lanes8) * wave + __builtin_convertvector(centre, Lanes8));
            });
        } else {
            float centre = 0.0f;
            float amp = 0.0f;
            Lfo::RangeOf(static_cast<float>(depth[0]), static_cast<float>(swept[0]), centre, amp);
            const Lanes8 a = Splat<Lanes8>(static_cast<double>(amp));
            const Lanes8 c = Splat<Lanes8>(static_cast<double>(centre));
            lfo_wave_lanes::Waves(in.shape[k], phases[k], count,
                                  [&](int i, Lanes8 wave) __attribute__((always_inline)) {
                                      Store(swept + i, a * wave + c);
                                  });
        }
    }

    for (int i = 0; i < count; i += 8) {
        const Lanes8 gain = Load<Lanes8>(now[0] + i);
        Store(out.low + i, gain * Load<Lanes8>(now[1] + i));
        Store(out.high + i, gain * Load<Lanes8>(now[2] + i));
    }
    for (int g = 0; g < 3; ++g)
        out.now[g] = now[g][frames - 1];
}

}  // namespace

bool BandMotion::Moving() const
{
    for (const Glide& g : gains)
        if (g.Moving())
            return true;
    return depths[0].Moving() || depths[1].Moving() || FilterMoving();
}

void BandMotion::Settle()
{
    for (Glide& g : gains)
        g.Jump(g.target);
    for (Glide& d : depths)
        d.Jump(d.target);
    logSplitHz.Jump(logSplitHz.target);
    damping.Jump(damping.target);
}

void BandMotion::RunWeights(std::array<Lfo, 2>& lfos, BandGains& state, VectorRegisters registers, int frames,
                            double* lowMul, double* highMul)
{
    if (frames <= 0)
        return;
    frames = frames < kRunFrames ? frames : kRunFrames;
    MovingRun in{gains.data(), depths.data(), {}, {}, {}, {}, {}};
    for (int k = 0; k < 2; ++k) {
        const Lfo& lfo = lfos[static_cast<size_t>(k)];
        in.active[k] = lfo.Active() && lfo.TargetGain() != GainTarget::None;
        in.gain[k] = in.active[k] ? static_cast<int>(lfo.TargetGain()) - 1 : 0;
        in.shape[k] = lfo.Shape();
        in.phase[k] = lfo.Phase();
        in.increment[k] = lfo.Increment();
    }
    MovingOut out{lowMul, highMul, {}, {}};
    InVectorRegisters(registers, [&](auto) __attribute__((always_inline)) { MovingWeights(in, frames, out); });
    for (int k = 0; k < 2; ++k)
        if (in.active[k])
            lfos[static_cast<size_t>(k)].SetPhase(out.phase[k]);
    state.outNow = out.now[0];
    state.lowNow = out.now[1];
    state.highNow = out.now[2];
    for (Glide& g : gains)
        g.Advance(frames);
    for (Glide& d : depths)
        d.Advance(frames);
}

bool BandMotion::RunFilter(double sampleRate, int frames, BandSplitFilter::Coefficients& out)
{
    const bool usable = BandSplitFilter::CoefficientsOf(std::exp(logSplitHz.value), damping.value, sampleRate, out);
    logSplitHz.Advance(frames);
    damping.Advance(frames);
    return usable;
}
