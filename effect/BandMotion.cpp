#include "effect/BandMotion.h"

#include "effect/LfoWaveLanes.h"

#include <cmath>

namespace {

using lfo_wave_lanes::Load;
using lfo_wave_lanes::Store;
using portable_math::Splat;

// The floats of as many lanes as V has doubles.
template <class V>
using FloatsOf [[gnu::vector_size(sizeof(V) / 2)]] = float;

constexpr int kFrames = BandMotion::kRunFrames;
static_assert(kFrames % 8 == 0);

// What the weights of a moving run are computed from: the glides as the run finds them, and per
// LFO whether it sweeps a gain (and which: 0 output, 1 low, 2 high) and its wave at each frame.
struct MovingRun {
    const Glide* gains;
    const Glide* depths;
    bool active[2];
    int gain[2];
    const double* wave[2];
};

// What it leaves: the gains in effect at the run's last frame.
struct MovingOut {
    double now[3];
};

// A moving run's values frame by frame, each array holding the run rounded up to a whole step
// of lanes: the gains (output, low, high) and the LFOs' depths.
struct RunValues {
    alignas(64) double gain[3][kFrames];
    alignas(64) double depth[2][kFrames];
};

// A glide's values for the run's frames in `out`, one step of V's lanes at a time: frame f gets
// what its f-th call of Next would answer (start + d * step while d = done + f is below its
// length, the target from there on), computed with the same operations. Steps whose lanes are
// all before the glide's end need no tests.
template <class V>
[[gnu::always_inline]] inline void GlideValues(const Glide& glide, int frames, double* out)
{
    constexpr int kLanes = static_cast<int>(sizeof(V) / sizeof(double));
    if (!glide.Moving()) {
        const V value = Splat<V>(glide.value);
        for (int i = 0; i < frames; i += kLanes)
            Store(out + i, value);
        return;
    }
    V lane{};
    for (int k = 0; k < kLanes; ++k)
        lane[k] = k;
    const V start = Splat<V>(glide.start);
    const V target = Splat<V>(glide.target);
    const V length = Splat<V>(static_cast<double>(glide.frames));
    V d = Splat<V>(static_cast<double>(glide.done)) + lane;
    int i = 0;
    for (; i < frames && glide.done + i + kLanes <= glide.frames; i += kLanes, d += kLanes)
        Store(out + i, start + d * glide.step);
    for (; i < frames; i += kLanes, d += kLanes) {
        const V along = start + d * glide.step;
        Store(out + i, d >= length ? target : along);
    }
    // At d = 0 the glide answers its start as it stands, not start + 0 * step.
    if (glide.done == 0)
        out[0] = start[0];
}

// Lfo::RangeOf lane by lane, in floats as it computes: the amplitude and centre of the sweep for
// each depth and base gain.
template <class F>
[[gnu::always_inline]] inline void RangesOf(F depth, F base, F& centre, F& amp)
{
    amp = depth * Lfo::kGainSpan * 0.5f;
    const F upper = Lfo::kMaxGain - amp;
    const F m = base < upper ? base : upper;
    const F lowest = amp + Lfo::kMinGain;
    centre = lowest > m ? lowest : m;
}

// An LFO's sweep of `gain` over the run: per frame its wave around the range its depth and the
// gain as it stands give, computed frame by frame.
template <class V>
[[gnu::always_inline]] inline void SweepMoving(const double* depth, const double* wave, int frames, double* gain)
{
    using F = FloatsOf<V>;
    for (int i = 0; i < frames; i += static_cast<int>(sizeof(V) / sizeof(double))) {
        F centre;
        F amp;
        RangesOf(__builtin_convertvector(Load<V>(depth + i), F), __builtin_convertvector(Load<V>(gain + i), F), centre,
                 amp);
        Store(gain + i, __builtin_convertvector(amp, V) * Load<V>(wave + i) + __builtin_convertvector(centre, V));
    }
}

// The same around a range that holds for the whole run.
template <class V>
[[gnu::always_inline]] inline void SweepFixed(double amp, double centre, const double* wave, int frames, double* gain)
{
    const V a = Splat<V>(amp);
    const V c = Splat<V>(centre);
    for (int i = 0; i < frames; i += static_cast<int>(sizeof(V) / sizeof(double)))
        Store(gain + i, a * Load<V>(wave + i) + c);
}

// The weights of a moving run of `frames` frames (1 .. kFrames) in `lowMul` and `highMul`
// (rounded up to a whole step of V's lanes), each concern in a vector pass of its own over the
// run: the gains' glides, each LFO's sweep (LFO 1 first), the products.
template <class V>
[[gnu::always_inline]] inline MovingOut MovingWeights(const MovingRun& in, int frames, double* lowMul, double* highMul)
{
    RunValues run;
    for (int g = 0; g < 3; ++g)
        GlideValues<V>(in.gains[g], frames, run.gain[g]);
    for (int k = 0; k < 2; ++k) {
        if (!in.active[k])
            continue;
        const int g = in.gain[k];
        // The range moves frame by frame with a moving depth or gain, or with a gain an earlier
        // LFO sweeps; else it is fixed for the run.
        if (in.depths[k].Moving() || in.gains[g].Moving() || (k == 1 && in.active[0] && in.gain[0] == g)) {
            GlideValues<V>(in.depths[k], frames, run.depth[k]);
            SweepMoving<V>(run.depth[k], in.wave[k], frames, run.gain[g]);
        } else {
            float centre = 0.0f;
            float amp = 0.0f;
            Lfo::RangeOf(static_cast<float>(in.depths[k].value), static_cast<float>(in.gains[g].value), centre, amp);
            SweepFixed<V>(static_cast<double>(amp), static_cast<double>(centre), in.wave[k], frames, run.gain[g]);
        }
    }
    for (int i = 0; i < frames; i += static_cast<int>(sizeof(V) / sizeof(double))) {
        const V out = Load<V>(run.gain[0] + i);
        Store(lowMul + i, out * Load<V>(run.gain[1] + i));
        Store(highMul + i, out * Load<V>(run.gain[2] + i));
    }
    return MovingOut{{run.gain[0][frames - 1], run.gain[1][frames - 1], run.gain[2][frames - 1]}};
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

namespace {

// What a moving run starts from, with the LFOs' waves of the run.
MovingRun RunFrom(const BandMotion& motion, const std::array<Lfo, 2>& lfos, const LfoSweep::RunWaves& waves)
{
    MovingRun in{motion.gains.data(), motion.depths.data(), {}, {}, {waves.wave[0], waves.wave[1]}};
    for (int k = 0; k < 2; ++k) {
        const Lfo& lfo = lfos[static_cast<size_t>(k)];
        in.active[k] = lfo.Active() && lfo.TargetGain() != GainTarget::None;
        in.gain[k] = in.active[k] ? static_cast<int>(lfo.TargetGain()) - 1 : 0;
    }
    return in;
}

// The LFOs, the gains in effect and the glides as the run of `frames` frames leaves them.
void MoveOn(BandMotion& motion, const MovingRun& in, const LfoSweep::RunWaves& waves, const MovingOut& out,
            std::array<Lfo, 2>& lfos, BandGains& state, int frames)
{
    for (int k = 0; k < 2; ++k)
        if (in.active[k])
            lfos[static_cast<size_t>(k)].SetPhase(waves.phaseAfter[k]);
    state.outNow = out.now[0];
    state.lowNow = out.now[1];
    state.highNow = out.now[2];
    for (Glide& g : motion.gains)
        g.Advance(frames);
    for (Glide& d : motion.depths)
        d.Advance(frames);
}

}  // namespace

void BandMotion::RunWeights(std::array<Lfo, 2>& lfos, LfoSweep& sweep, BandGains& state, VectorRegisters registers,
                            int frames, double* lowMul, double* highMul)
{
    if (frames <= 0)
        return;
    frames = frames < kRunFrames ? frames : kRunFrames;
    const LfoSweep::RunWaves waves = sweep.TakeWaves(frames);
    const MovingRun in = RunFrom(*this, lfos, waves);
    const MovingOut out = InVectorRegisters(registers, [&](auto bytes) __attribute__((always_inline)) {
        return MovingWeights<RegisterLanes<decltype(bytes)::value>>(in, frames, lowMul, highMul);
    });
    MoveOn(*this, in, waves, out, lfos, state, frames);
}

template <class T>
void BandMotion::FilterRun(std::array<Lfo, 2>& lfos, LfoSweep& sweep, BandGains& state, VectorRegisters registers,
                           const band_split_block::StereoRun& run, const T* inL, const T* inR, T* outL, T* outR,
                           int frames)
{
    if (frames <= 0)
        return;
    frames = frames < kRunFrames ? frames : kRunFrames;
    const LfoSweep::RunWaves waves = sweep.TakeWaves(frames);
    const MovingRun in = RunFrom(*this, lfos, waves);
    const MovingOut out = InVectorRegisters(registers, [&](auto bytes) __attribute__((always_inline)) {
        alignas(64) double lowMul[kRunFrames];
        alignas(64) double highMul[kRunFrames];
        const MovingOut left = MovingWeights<RegisterLanes<decltype(bytes)::value>>(in, frames, lowMul, highMul);
        band_split_block::RunWeights weights{lowMul, highMul};
        band_split_block::FilterStereo(run, inL, inR, outL, outR, frames, weights);
        return left;
    });
    MoveOn(*this, in, waves, out, lfos, state, frames);
}

template void BandMotion::FilterRun<float>(std::array<Lfo, 2>&, LfoSweep&, BandGains&, VectorRegisters,
                                           const band_split_block::StereoRun&, const float*, const float*, float*,
                                           float*, int);
template void BandMotion::FilterRun<double>(std::array<Lfo, 2>&, LfoSweep&, BandGains&, VectorRegisters,
                                            const band_split_block::StereoRun&, const double*, const double*, double*,
                                            double*, int);

bool BandMotion::RunFilter(double sampleRate, int frames, BandSplitFilter::Coefficients& out)
{
    const bool usable = BandSplitFilter::CoefficientsOf(std::exp(logSplitHz.value), damping.value, sampleRate, out);
    logSplitHz.Advance(frames);
    damping.Advance(frames);
    return usable;
}
