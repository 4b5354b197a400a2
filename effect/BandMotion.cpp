#include "effect/BandMotion.h"

#include <cmath>

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
    double now[3] = {state.outNow, state.lowNow, state.highNow};
    for (int f = 0; f < frames; ++f) {
        double base[3];
        for (int g = 0; g < 3; ++g)
            now[g] = base[g] = gains[static_cast<size_t>(g)].Next();
        for (int k = 0; k < 2; ++k) {
            const float depth = static_cast<float>(depths[static_cast<size_t>(k)].Next());
            Lfo& lfo = lfos[static_cast<size_t>(k)];
            if (!lfo.Active() || lfo.TargetGain() == GainTarget::None)
                continue;
            const int g = static_cast<int>(lfo.TargetGain()) - 1;
            float centre = 0.0f;
            float amp = 0.0f;
            Lfo::RangeOf(depth, static_cast<float>(base[g]), centre, amp);
            const double y = lfo.WaveAt(lfo.Phase());
            lfo.SetPhase(Lfo::NextPhase(lfo.Phase(), lfo.Increment()));
            now[g] = static_cast<double>(amp) * y + static_cast<double>(centre);
        }
        lowMul[f] = now[0] * now[1];
        highMul[f] = now[0] * now[2];
    }
    state.outNow = now[0];
    state.lowNow = now[1];
    state.highNow = now[2];
}

bool BandMotion::RunFilter(double sampleRate, int frames, BandSplitFilter::Coefficients& out)
{
    const bool usable = BandSplitFilter::CoefficientsOf(std::exp(logSplitHz.value), damping.value, sampleRate, out);
    logSplitHz.Advance(frames);
    damping.Advance(frames);
    return usable;
}
