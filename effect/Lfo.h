// One low-frequency oscillator: nine wave shapes (three built on the golden section), a phase
// that advances per processed sample, and the centre and amplitude of the gain range it sweeps.
#pragma once

#include "effect/BandGains.h"

#include <cstdint>

class Lfo {
public:
    static constexpr float kGolden = 0.618034f;
    static constexpr double kTwoPi = 6.283185307179586;
    // Linear gains of -64 dB and +6 dB, the ends of the gain parameters' range, and their span.
    static constexpr float kMinGain = 0.000631f;
    static constexpr float kMaxGain = 1.9953f;
    static constexpr float kGainSpan = 1.9946691f;

    // Index of the gain parameter a target drives: -1 for "No Assign" (and unknown targets).
    static int16_t DrivenParamOf(int target);

    void SetTarget(int16_t target) { lfoTarget = target; }
    // Chooses the wave and, for waves 1-5 and 8, computes its shape constants; waves 0, 6
    // and 7 need none and leave them as they were.
    void SetWave(int16_t wave);
    // Phase increment for `hz` at `sampleRate`; unchanged while the rate is not a positive finite
    // number.
    void SetFrequency(float hz, double sampleRate);
    void SetDepthPercent(int32_t percent) { lfoDepth = static_cast<float>(percent) * 0.01f; }
    // Centre and amplitude of the sweep around the gain `base`, kept inside the gain range.
    void UpdateRange(float base);
    void SetActive(bool active) { lfoActive = active; }
    void SetPhase(double phase) { lfoPhase = phase; }
    void SetDrivenParam(int16_t index) { drivenParam = index; }

    // Wave value in -1..+1 at phase `p` (0 <= p < 2 pi).
    double WaveAt(double p) const;

    // Advances one sample; answers the swept gain at the phase before the advance.
    double Step()
    {
        const double y = WaveAt(lfoPhase);
        lfoPhase += lfoInc;
        if (lfoPhase >= kTwoPi) {
            lfoPhase -= kTwoPi;
            if (lfoPhase >= kTwoPi)
                lfoPhase = WrapPhase(lfoPhase);
        }
        return static_cast<double>(lfoAmp) * y + static_cast<double>(lfoCentre);
    }

    // `frames` steps at once: values[i] is what the i-th Step would answer.
    void Render(double* values, int frames);

    // Aligns the phase with a host sample position, as if the LFO had run since position 0.
    // Negative positions (pre-roll, a wrapped counter) still give a phase in [0, 2 pi).
    void Realign(int position);

    int16_t Target() const { return lfoTarget; }
    GainTarget TargetGain() const;
    int16_t Wave() const { return lfoWave; }
    int16_t DrivenParam() const { return drivenParam; }
    double Increment() const { return lfoInc; }
    double Phase() const { return lfoPhase; }
    double ShapeA() const { return shapeA; }
    double ShapeB() const { return shapeB; }
    double ShapeC() const { return shapeC; }
    double ShapeD() const { return shapeD; }
    float Depth() const { return lfoDepth; }
    float Centre() const { return lfoCentre; }
    float Amp() const { return lfoAmp; }
    bool Active() const { return lfoActive; }

private:
    template <int kWave>
    void RenderWave(double* values, int frames);

    // Phase reduced into [0, 2 pi); NaN gives 0.
    static double WrapPhase(double phase);

    int16_t lfoTarget = 0;
    int16_t lfoWave = 0;
    int16_t drivenParam = -1;
    double lfoInc = 0.0;
    double lfoPhase = 0.0;
    double shapeA = 0.0;
    double shapeB = 0.0;
    double shapeC = 0.0;
    double shapeD = 0.0;
    float lfoDepth = 0.0f;
    float lfoCentre = 0.0f;
    float lfoAmp = 0.0f;
    bool lfoActive = false;
};
