// The effect: a band split at an adjustable frequency, gains for the low band, the high band
// and the output, and two LFOs that sweep one of those gains each. It declares its thirteen
// parameters and the factory presets, and turns every parameter change into effect state.
#pragma once

#include "effect/BandGains.h"
#include "effect/BandMotion.h"
#include "effect/BandSplitBlock.h"
#include "effect/BandSplitFilter.h"
#include "effect/Lfo.h"
#include "effect/LfoReadout.h"
#include "effect/LfoSweep.h"
#include "effect/VibrascendParams.h"
#include "framework/IFxBase.h"

#include <array>
#include <cstdint>

class CLS_VIBRASCEND : public virtual IFxBase {
public:
    static constexpr int kNumParams = kNumVibrascendParams;
    using enum VibrascendParam;
    // A pause between blocks longer than this re-aligns the LFOs with the host position.
    static constexpr uint32_t kResyncPauseMs = 500;
    // Samples and low-band outputs at or below this magnitude count as silence.
    static constexpr double kSilence = 1e-11;

    // The identity and configuration the effect declares; a plug-in class that adds a format's
    // binding builds the shared plug-in base from it.
    static IFxDeclaration Declaration();

    CLS_VIBRASCEND();
    ~CLS_VIBRASCEND() override;

    void Reset() override;
    void ParamChanged(int index) override;
    void ProcessBlock(double** inputs, double** outputs, int frames) override;
    void ProcessBlockFloat(float** inputs, float** outputs, int frames) override;

    // Effect state, for the editor and for inspection. `lfo` 1 names LFO 2, anything else LFO 1.
    const BandSplitFilter& Filter() const { return filter; }
    const BandGains& Gains() const { return gains; }
    const Lfo& GetLfo(int lfo) const { return lfos[LfoSlot(lfo)]; }
    const LfoReadout& Display(int lfo) const { return displays[LfoSlot(lfo)]; }
    int32_t CachedParam(int index) const;
    int MissingParams() const { return missingParams; }
    double SampleRateSeen() const { return sampleRateSeen; }
    int32_t TailSamples() const { return tailSamples; }
    int32_t SilentCount() const { return silentCount; }

protected:
    // The editor, built when the host first asks for a view.
    std::unique_ptr<IFxEditor> CreateEditor() override;
    // Milliseconds of the process clock; a seam so that pauses can be simulated.
    virtual uint32_t ClockMs() const;

private:
    static int LfoSlot(int lfo) { return lfo == 1 ? 1 : 0; }

    void Apply(int index, int32_t q);
    // Frames over which the change being applied is heard: 0 at once.
    int GlideFrames() const;
    // The filter moves to its new setting, or stands at it.
    void MoveFilter();
    // Every glide at its target and the block loops' state rebuilt from the targets.
    void EndMotion();
    void ApplyTarget(int slot, int32_t q);
    void UpdateLfoRange(int slot);
    void PublishRange(int slot);
    void TrackApplied(int index);
    void RealignLfos();
    template <class T>
    void BlockLoop(T** inputs, T** outputs, int frames);
    // One run of processed frames through the filter and the gains, with the LFOs' or the moving
    // settings' weights.
    template <class T>
    void FilterRun(const T* inL, const T* inR, T* outL, T* outR, int frames);
    template <class T>
    void FilterMovingRun(const band_split_block::StereoRun& fixedFilter, const T* inL, const T* inR, T* outL,
                          T* outR, int frames);

    std::array<int32_t, kNumParams> paramCache{};
    std::array<bool, kNumParams> applied{};
    int16_t missingParams = kNumParams;

    BandSplitFilter filter;
    std::array<FilterMemory, 2> memory{};
    // Low-band outputs of the last processed frame of the current block, left and right.
    double prevLowL = 0.0;
    double prevLowR = 0.0;
    BandGains gains;
    std::array<Lfo, 2> lfos{};
    std::array<LfoReadout, 2> displays;

    double sampleRateSeen = 0.0;
    int32_t tailSamples = 0;
    int32_t silentCount = 0;
    bool started = false;
    bool resyncRequest = false;
    uint32_t lastClock = 0;
    // The registers the block loops run in (decided once: the same bits either way).
    VectorRegisters vectorRegisters = VectorRegisters::Sse2;
    // The LFOs' band weights, kept from run to run.
    LfoSweep sweep;
    // Settings on their way to new values; while nothing moves the block loops run unchanged.
    BandMotion motion;
};
