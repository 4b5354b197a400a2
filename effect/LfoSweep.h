// The band weights of a run of processed frames while LFOs sweep gains: per frame exactly what
// stepping LFO 1 and then LFO 2 leaves in the gains in effect and the weights. The whole run's
// weights are computed first, four frames of an LFO at a time (in one AVX register where the
// processor has them, else in two SSE2 registers: the same operations, the same bits), and the
// filter loop then takes them two frames at a time.
#pragma once

#include "effect/BandGains.h"
#include "effect/Lfo.h"

class LfoSweep {
public:
    // Frames of the longest run.
    static constexpr int kMaxFrames = 256;

    // Whether this processor (and system) runs the four-lane pass in AVX registers.
    static bool WideLanesAvailable();

    // A run with `first` and `second` stepped when active (LFO 1 first) on `gains`; `wideLanes`
    // chooses the AVX pass, and is only to be set where WideLanesAvailable() holds.
    LfoSweep(Lfo& first, Lfo& second, BandGains& gains, bool wideLanes);

    bool Sweeps() const { return state.active[0] || state.active[1]; }

    // Computes the weights of the next `frames` frames (1 .. kMaxFrames) and leaves the LFOs'
    // phases and the gains as the last of them leaves them.
    void Run(int frames);

    // Weights of the next two frames of the run, lane 0 the first.
    void Pair(Lanes2& lowMul, Lanes2& highMul);

    // What the pass works from and leaves.
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

private:
    Lfo* lfos[2];
    BandGains& gains;
    bool wide;
    State state;
    int next = 0;
    // Room for a run rounded up to whole steps of four frames.
    alignas(32) double lowMul[kMaxFrames + 4];
    alignas(32) double highMul[kMaxFrames + 4];
};
