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
    }

    bool Sweeps() const { return active[0] || active[1]; }

    // Weights of the next two frames, lane 0 the first; the LFOs advance by two samples.
    void Pair(Lanes2& lowMul, Lanes2& highMul)
    {
        Lanes2 value[3] = {Lanes2{now[0], now[0]}, Lanes2{now[1], now[1]}, Lanes2{now[2], now[2]}};
        for (int k = 0; k < 2; ++k) {
            if (!active[k])
                continue;
            const double p0 = phase[k];
            const double p1 = Lfo::NextPhase(p0, increment[k]);
            phase[k] = Lfo::NextPhase(p1, increment[k]);
            afterFirst[k] = p1;
            value[slot[k]] = WaveOf(shape[k], Lanes2{p0, p1}) * amp[k] + centre[k];
        }
        lowMul = value[0] * value[1];
        highMul = value[0] * value[2];
        last[0] = value[0];
        last[1] = value[1];
        last[2] = value[2];
        lastLow = lowMul;
        lastHigh = highMul;
    }

    // Ends a run of `frames` frames (at least one): when it was odd, the last pair's second frame
    // was not used. The LFOs keep their phases, the gains what the last frame left.
    void Finish(int frames)
    {
        const int lane = (frames & 1) ? 0 : 1;
        for (int k = 0; k < 2; ++k)
            if (active[k])
                lfos[k]->SetPhase(lane == 0 ? afterFirst[k] : phase[k]);
        gains.outNow = last[0][lane];
        gains.lowNow = last[1][lane];
        gains.highNow = last[2][lane];
        gains.lowMul = lastLow[lane];
        gains.highMul = lastHigh[lane];
    }

private:
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
    Lanes2 last[3] = {};
    Lanes2 lastLow = {};
    Lanes2 lastHigh = {};
};
