#include "effect/BandMotion.h"

#include "effect/LfoWaveLanes.h"

#include <cmath>
#include <cstring>
#include <type_traits>

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

// A glide's values for the frames from frame `i` of the run, one per lane of V: frame f gets
// what its f-th call of Next would answer (start + d * step while d = done + f is below its
// length, the target from there on), computed with the same operations.
template <class V>
[[gnu::always_inline]] inline V GlideLanes(const Glide& glide, int i)
{
    if (!glide.Moving())
        return Splat<V>(glide.value);
    V lane{};
    for (int k = 0; k < static_cast<int>(sizeof(V) / sizeof(double)); ++k)
        lane[k] = k;
    const V start = Splat<V>(glide.start);
    const V d = Splat<V>(static_cast<double>(glide.done + i)) + lane;
    // At d = 0 the glide answers its start as it stands, not start + 0 * step.
    const V along = d == 0.0 ? start : start + d * glide.step;
    return d >= static_cast<double>(glide.frames) ? Splat<V>(glide.target) : along;
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

// The weights of a moving run, as many frames at a time as V has lanes (two in SSE2 registers,
// eight in wider ones, so that a step's values stay in registers), in whatever order the caller
// asks for them.
template <class V>
class MovingLanes {
public:
    using Lanes = V;
    static constexpr int kLanes = static_cast<int>(sizeof(V) / sizeof(double));

    [[gnu::always_inline]] MovingLanes(const MovingRun& in, int frames) : in(in), frames(frames)
    {
        for (int k = 0; k < 2; ++k) {
            sweeps[k] = in.active[k] ? in.gain[k] : -1;
            // The range moves frame by frame with a moving depth or gain, or with a gain an
            // earlier LFO sweeps; else it is fixed for the run.
            const int g = in.gain[k];
            perFrame[k] = in.depths[k].Moving() || in.gains[g].Moving() || (k == 1 && in.active[0] && in.gain[0] == g);
            float centre = 0.0f;
            float amp = 0.0f;
            Lfo::RangeOf(static_cast<float>(in.depths[k].value), static_cast<float>(in.gains[g].value), centre, amp);
            fixedAmp[k] = static_cast<double>(amp);
            fixedCentre[k] = static_cast<double>(centre);
        }
    }

    // The weights of frames i .. i + kLanes (i a multiple of kLanes below the run's length).
    [[gnu::always_inline]] void Step(int i, V& low, V& high)
    {
        const V out = Gain(0, i);
        const V lowGain = Gain(1, i);
        const V highGain = Gain(2, i);
        low = out * lowGain;
        high = out * highGain;
        if (i + kLanes >= frames) {
            last[0] = out[frames - 1 - i];
            last[1] = lowGain[frames - 1 - i];
            last[2] = highGain[frames - 1 - i];
        }
    }

    // The gains in effect at the run's last frame (once its last step is computed).
    const double* Last() const { return last; }

private:
    // Gain g's values at frames i .. i + kLanes: its glide's, then each LFO's that sweeps it
    // (LFO 1 first), around the range its depth and the gain as it stands give.
    [[gnu::always_inline]] V Gain(int g, int i) const
    {
        using F = FloatsOf<V>;
        V value = GlideLanes<V>(in.gains[g], i);
        for (int k = 0; k < 2; ++k) {
            if (sweeps[k] != g)
                continue;
            const V wave = Load<V>(in.wave[k] + i);
            if (perFrame[k]) {
                F centre;
                F amp;
                RangesOf(__builtin_convertvector(GlideLanes<V>(in.depths[k], i), F), __builtin_convertvector(value, F),
                         centre, amp);
                value = __builtin_convertvector(amp, V) * wave + __builtin_convertvector(centre, V);
            } else {
                value = Splat<V>(fixedAmp[k]) * wave + Splat<V>(fixedCentre[k]);
            }
        }
        return value;
    }

    const MovingRun& in;
    int frames;
    int sweeps[2];  // the gain each LFO sweeps, -1 for none
    bool perFrame[2];
    double fixedAmp[2];
    double fixedCentre[2];
    double last[3] = {};
};

// Moving weights handed to the filter loop two frames at a time, computed a step at a time as
// it asks for them: their work overlaps the filter's chain of dependent operations.
template <class V>
class LanesAsPairs {
public:
    explicit LanesAsPairs(MovingLanes<V>& lanes) : lanes(lanes) {}
    [[gnu::always_inline]] void Pair(Lanes2& lowMul, Lanes2& highMul)
    {
        if constexpr (MovingLanes<V>::kLanes == 2) {
            lanes.Step(next, lowMul, highMul);
            next += 2;
            return;
        } else {
            const int at = next % MovingLanes<V>::kLanes;
            if (at == 0) {
                V l;
                V h;
                lanes.Step(next, l, h);
                Store(low, l);
                Store(high, h);
            }
            std::memcpy(&lowMul, low + at, sizeof lowMul);
            std::memcpy(&highMul, high + at, sizeof highMul);
            next += 2;
        }
    }

private:
    MovingLanes<V>& lanes;
    int next = 0;
    alignas(64) double low[MovingLanes<V>::kLanes];
    alignas(64) double high[MovingLanes<V>::kLanes];
};

// Two lanes in SSE2 registers, eight in wider ones.
template <int kBytes>
using StepLanes = std::conditional_t<kBytes == 16, Lanes2, Lanes8>;

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

// Runs `use(lanes)` over a moving run's weights in `registers` and keeps what the run leaves.
template <class Use>
[[gnu::always_inline]] inline MovingOut WithMovingLanes(const MovingRun& in, VectorRegisters registers, int frames,
                                                        const Use& use)
{
    MovingOut out{};
    InVectorRegisters(registers, [&](auto bytes) __attribute__((always_inline)) {
        MovingLanes<StepLanes<decltype(bytes)::value>> lanes(in, frames);
        use(lanes);
        for (int g = 0; g < 3; ++g)
            out.now[g] = lanes.Last()[g];
    });
    return out;
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
    const MovingOut out = WithMovingLanes(in, registers, frames, [&](auto& lanes) __attribute__((always_inline)) {
        using V = typename std::remove_reference_t<decltype(lanes)>::Lanes;
        for (int i = 0; i < frames; i += lanes.kLanes) {
            V low;
            V high;
            lanes.Step(i, low, high);
            Store(lowMul + i, low);
            Store(highMul + i, high);
        }
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
    const MovingOut out = WithMovingLanes(in, registers, frames, [&](auto& lanes) __attribute__((always_inline)) {
        LanesAsPairs weights(lanes);
        band_split_block::FilterStereo(run, inL, inR, outL, outR, frames, weights);
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
