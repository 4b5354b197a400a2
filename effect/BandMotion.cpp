#include "effect/BandMotion.h"

#include <algorithm>
#include <cmath>

void BandMotion::Fill(Glide& glide, double* values, int frames)
{
    if (!glide.Moving()) {
        std::fill_n(values, frames, glide.value);
        return;
    }
    for (int f = 0; f < frames; ++f)
        values[f] = glide.Next();
}

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

void BandMotion::RunWeights(std::array<Lfo, 2>& lfos, BandGains& state, int frames, double* lowMul, double* highMul)
{
    // The gains' values frame by frame, which the LFOs then overwrite where they sweep.
    alignas(16) double now[3][kRunFrames + 1];
    const bool gainsMoving[3] = {gains[0].Moving(), gains[1].Moving(), gains[2].Moving()};
    for (int g = 0; g < 3; ++g)
        Fill(gains[static_cast<size_t>(g)], now[g], frames);
    alignas(16) double depth[kRunFrames];
    for (int k = 0; k < 2; ++k) {
        const bool depthMoving = depths[static_cast<size_t>(k)].Moving();
        Fill(depths[static_cast<size_t>(k)], depth, frames);
        Lfo& lfo = lfos[static_cast<size_t>(k)];
        if (!lfo.Active() || lfo.TargetGain() == GainTarget::None)
            continue;
        const int g = static_cast<int>(lfo.TargetGain()) - 1;
        // Centre and amplitude per frame while the depth or the gain moves, else once.
        const bool rangeMoves = depthMoving || gainsMoving[g];
        float centre = 0.0f;
        float amp = 0.0f;
        Lfo::RangeOf(static_cast<float>(depth[0]), static_cast<float>(now[g][0]), centre, amp);
        // Phases one sample at a time, then the wave two frames at a time: lane by lane the
        // same operations as one frame at a time.
        alignas(16) double phase[kRunFrames + 1];
        double p = lfo.Phase();
        for (int f = 0; f < frames; ++f) {
            phase[f] = p;
            p = Lfo::NextPhase(p, lfo.Increment());
        }
        phase[frames] = phase[frames - 1];
        lfo.SetPhase(p);
        for (int f = 0; f < frames; f += 2) {
            const Lanes2 y = WaveOf(lfo.Shape(), Lanes2{phase[f], phase[f + 1]});
            for (int lane = 0; lane < 2 && f + lane < frames; ++lane) {
                if (rangeMoves)
                    Lfo::RangeOf(static_cast<float>(depth[f + lane]), static_cast<float>(now[g][f + lane]), centre,
                                 amp);
                now[g][f + lane] = static_cast<double>(amp) * y[lane] + static_cast<double>(centre);
            }
        }
    }
    for (int f = 0; f < frames; ++f) {
        lowMul[f] = now[0][f] * now[1][f];
        highMul[f] = now[0][f] * now[2][f];
    }
    if (frames > 0) {
        state.outNow = now[0][frames - 1];
        state.lowNow = now[1][frames - 1];
        state.highNow = now[2][frames - 1];
    }
}

bool BandMotion::RunFilter(double sampleRate, int frames, BandSplitFilter::Coefficients& out)
{
    const bool usable = BandSplitFilter::CoefficientsOf(std::exp(logSplitHz.value), damping.value, sampleRate, out);
    logSplitHz.Advance(frames);
    damping.Advance(frames);
    return usable;
}
