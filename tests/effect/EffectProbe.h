// A directly constructed effect with the host's transport and the process clock under the
// test's control, plus helpers to apply parameters the way the framework does.
#pragma once

#include "effect/LfoBar.h"
#include "effect/vst3/VibrascendVst3.h"

#include <cstdint>
#include <memory>

class EffectProbe : public VibrascendVst3 {
public:
    EffectProbe() : IFxBase(Declaration()) {}

    int position = 0;
    uint32_t clock = 1000;

    int SamplePosition() const override { return position; }
    uint32_t ClockMs() const override { return clock; }

    void UseSampleRate(double rate) { SetSampleRate(rate); }
    // What the framework's initialize does: notify every parameter once.
    void ApplyAll()
    {
        for (int i = 0; i < kNumParams; ++i)
            ParamChanged(i);
    }
    // A change from the host or a control: store the plain value, then notify.
    void Set(int index, double plain)
    {
        ApplyParamValue(index, plain);
    }
    // The LFO's range bar as the editor places what the effect published (lfo 0 or 1).
    IBox BarRect(int lfo) const
    {
        const IBox& area = kLfoBarAreas[lfo == 1 ? 1 : 0];
        return LfoBarRect(area, Display(lfo).Range(), area);
    }
    bool BarCollapsed(int lfo) const { return !Display(lfo).Range().sweeping; }
    // Runs one stereo block, advancing the clock by less than the re-alignment pause.
    void Run(double* left, double* right, int frames)
    {
        double* channels[2] = {left, right};
        ProcessBlock(channels, channels, frames);
        clock += 10;
    }
};

struct ProbeRelease {
    void operator()(EffectProbe* probe) const { probe->release(); }
};
using ProbePtr = std::unique_ptr<EffectProbe, ProbeRelease>;

// A probe with every parameter applied, so that processing is enabled.
inline ProbePtr MakeReadyProbe(double sampleRate = 44100.0)
{
    ProbePtr probe(new EffectProbe);
    probe->UseSampleRate(sampleRate);
    probe->ApplyAll();
    return probe;
}
