// The band weights of a run of processed frames while LFOs sweep gains: per frame exactly what
// stepping LFO 1 and then LFO 2 leaves in the gains in effect and the weights. The phases of the
// whole run are stepped first, one sample at a time; the waves are then computed eight frames of
// an LFO at a time (in one AVX-512 register, two AVX registers or four SSE2 registers, as the
// processor allows: the same operations, the same bits), and the filter loop takes the weights
// two frames at a time.
#pragma once

#include "effect/BandGains.h"
#include "effect/Lfo.h"
#include "effect/VectorRegisters.h"

#include <cstring>

class LfoSweep {
public:
    // Frames of the longest run.
    static constexpr int kMaxFrames = 256;

    // A run with `first` and `second` stepped when active (LFO 1 first) on `gains`, computed in
    // `registers`, which are to be available.
    LfoSweep(Lfo& first, Lfo& second, BandGains& gains, VectorRegisters registers);

    bool Sweeps() const { return state.active[0] || state.active[1]; }

    // Computes the weights of the next `frames` frames (1 .. kMaxFrames) and leaves the LFOs'
    // phases and the gains as the last of them leaves them.
    void Run(int frames);

    // Weights of the next two frames of the run, lane 0 the first.
    void Pair(Lanes2& low, Lanes2& high)
    {
        std::memcpy(&low, lowMul + next, sizeof low);
        std::memcpy(&high, highMul + next, sizeof high);
        next += 2;
    }

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

    // Room for a run rounded up to whole steps of eight frames.
    static constexpr int kRoom = kMaxFrames + 8;

private:
    Lfo* lfos[2];
    BandGains& gains;
    VectorRegisters registers;
    State state;
    int next = 0;
    alignas(64) double lowMul[kRoom];
    alignas(64) double highMul[kRoom];
};
