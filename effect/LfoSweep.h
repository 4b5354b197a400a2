// The band weights of a run of processed frames while LFOs sweep gains, two frames at a time, for
// the filter loop to use as it goes: per frame exactly what stepping LFO 1 and then LFO 2 leaves
// in the gains in effect and the weights.
#pragma once

#include "effect/BandGains.h"
#include "effect/Lfo.h"

class LfoSweep {
public:
    // A run with `first` and `second` stepped when active (LFO 1 first) on `gains`.
    LfoSweep(Lfo& first, Lfo& second, BandGains& gains) : lfos{&first, &second}, gains(gains)
    {
        for (int k = 0; k < 2; ++k) {
            active[k] = lfos[k]->Active() && lfos[k]->TargetGain() != GainTarget::None;
            slot[k] = static_cast<int>(lfos[k]->TargetGain()) - 1;
            shape[k] = lfos[k]->Shape();
            phase[k] = lfos[k]->Phase();
            increment[k] = lfos[k]->Increment();
            amp[k] = lfos[k]->Amp();
            centre[k] = lfos[k]->Centre();
        }
        now[0] = gains.outNow;
        now[1] = gains.lowNow;
        now[2] = gains.highNow;
        // Which value each gain takes per frame: its value in effect, or LFO 1's, or LFO 2's
        // (stepped after LFO 1, so it wins a shared gain).
        for (int g = 0; g < 3; ++g) {
            source[g] = -1;
            for (int k = 0; k < 2; ++k)
                if (active[k] && slot[k] == g)
                    source[g] = k;
        }
    }

    bool Sweeps() const { return active[0] || active[1]; }

    // Weights of the next two frames, lane 0 the first; the LFOs advance by two samples.
    void Pair(Lanes2& lowMul, Lanes2& highMul)
    {
        Lanes2 swept[2] = {};
        for (int k = 0; k < 2; ++k) {
            if (!active[k])
                continue;
            const double p0 = phase[k];
            const double p1 = Lfo::NextPhase(p0, increment[k]);
            phase[k] = Lfo::NextPhase(p1, increment[k]);
            afterFirst[k] = p1;
            swept[k] = WaveOf(shape[k], Lanes2{p0, p1}) * amp[k] + centre[k];
        }
        const Lanes2 out = Value(0, swept[0], swept[1]);
        lowMul = out * Value(1, swept[0], swept[1]);
        highMul = out * Value(2, swept[0], swept[1]);
        lastSwept[0] = swept[0];
        lastSwept[1] = swept[1];
    }

    // Ends a run of `frames` frames (at least one): when it was odd, the last pair's second frame
    // was not used. The LFOs keep their phases, the gains what the last frame left.
    void Finish(int frames)
    {
        const int lane = (frames & 1) ? 0 : 1;
        for (int k = 0; k < 2; ++k)
            if (active[k])
                lfos[k]->SetPhase(lane == 0 ? afterFirst[k] : phase[k]);
        const double out = Value(0, lastSwept[0], lastSwept[1])[lane];
        const double low = Value(1, lastSwept[0], lastSwept[1])[lane];
        const double high = Value(2, lastSwept[0], lastSwept[1])[lane];
        gains.outNow = out;
        gains.lowNow = low;
        gains.highNow = high;
        gains.lowMul = out * low;
        gains.highMul = out * high;
    }

private:
    Lanes2 Value(int gain, Lanes2 first, Lanes2 second) const
    {
        return source[gain] == 1 ? second : source[gain] == 0 ? first : Lanes2{now[gain], now[gain]};
    }

    Lfo* lfos[2];
    BandGains& gains;
    bool active[2];
    int slot[2];  // 0 output, 1 low, 2 high
    LfoShape shape[2];
    double phase[2];
    double afterFirst[2] = {0.0, 0.0};
    double increment[2];
    double amp[2];
    double centre[2];
    double now[3];
    int source[3];  // per gain: -1 its value in effect, else the LFO that sweeps it
    Lanes2 lastSwept[2] = {};
};
