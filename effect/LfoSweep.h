// The band weights of runs of processed frames while LFOs sweep gains: per frame exactly what
// stepping LFO 1 and then LFO 2 leaves in the gains in effect and the weights. A pass steps the
// phases one sample at a time, then computes the waves eight frames of an LFO at a time (in one
// AVX-512 register, two AVX2 or four SSE2 registers, as the processor allows: the same
// operations, the same bits). While nothing the weights depend on changes between runs, a pass
// covers more frames than the run asks for and the following runs take theirs from it, so that
// short host blocks do not each pay for starting a pass.
#pragma once

#include "effect/BandGains.h"
#include "effect/Lfo.h"
#include "effect/VectorRegisters.h"

#include <cstring>

class LfoSweep {
public:
    // Frames of the longest run, and of the longest pass.
    static constexpr int kMaxFrames = 256;

    // Sweeps with `first` and `second` stepped when active (LFO 1 first) on `gains`, computed in
    // `registers`, which are to be available.
    LfoSweep(Lfo& first, Lfo& second, BandGains& gains, VectorRegisters registers);

    // Prepares the weights of the next `frames` frames (1 .. kMaxFrames) from the LFOs and gains
    // as they stand, for Pair to hand out; answers false, preparing nothing, when no LFO sweeps a
    // gain.
    bool Begin(int frames);

    // Weights of the next two frames of the run, lane 0 the first.
    void Pair(Lanes2& low, Lanes2& high)
    {
        std::memcpy(&low, lowMul + next, sizeof low);
        std::memcpy(&high, highMul + next, sizeof high);
        next += 2;
    }

    // Leaves the LFOs' phases and the gains as the last frame of the run leaves them.
    void End();

    // The active LFOs' waves at each of the next `frames` frames (1 .. kMaxFrames, readable in
    // whole steps of eight) from their phases as they stand, and the phases after them, for a run
    // whose weights are computed elsewhere (while settings move). The LFOs are left as they are;
    // the pointers hold until the next call.
    struct RunWaves {
        const double* wave[2];
        double phaseAfter[2];
    };
    RunWaves TakeWaves(int frames);

    // What a pass works from: the LFOs and the gains as a run finds them.
    struct State {
        bool active[2];
        LfoShape shape[2];
        double phase[2];
        double increment[2];
        double amp[2];
        double centre[2];
        double now[3];  // the gains in effect: output, low, high
        int source[3];  // per gain: -1 its value in effect, else the LFO that sweeps it
    };

    // Room for a pass rounded up to a whole step of eight frames, and the phase after it.
    static constexpr int kRoom = kMaxFrames + 8;

private:
    State Current() const;
    // Whether the weights from frame `offset` of the pass on are what the LFOs and gains as they
    // stand would give.
    bool PassContinues() const;
    // Whether the waves from frame `offset` of the pass on are what the LFOs as they stand give.
    bool WavesContinue() const;
    // Frames of the next pass for a run of `frames` frames.
    int PassLength(int frames, bool continues) const;
    // A pass of phases and waves, and with `weights` of the weights too.
    void Pass(const State& s, int frames, bool weights);
    // The weights of the rest of the pass from its waves, for `s`.
    void Weigh(const State& s);

    Lfo* lfos[2];
    BandGains& gains;
    VectorRegisters registers;
    State start{};  // what the pass was computed from
    GainTarget startTarget[2] = {GainTarget::None, GainTarget::None};
    int passFrames = 0;  // frames the pass covers
    bool passWeights = false;  // whether the pass computed weights (else phases and waves alone)
    int offset = 0;  // the pass's first frame not yet handed to a run
    int runEnd = 0;  // the frame after the current run
    int next = 0;
    alignas(64) double phases[2][kRoom];  // per LFO the phase before each frame of the pass
    alignas(64) double waves[2][kRoom] = {};  // per LFO the wave at each frame
    alignas(64) double lowMul[kRoom];
    alignas(64) double highMul[kRoom];
};
