// One low-frequency oscillator: nine wave shapes (three built on the golden section), a phase
// that advances per processed sample, and the centre and amplitude of the gain range it sweeps.
#pragma once

#include "effect/BandGains.h"
#include "effect/PortableMath.h"

#include <cstdint>
#include <limits>

// A wave in the one form the block loops evaluate: a sine (or cosine) of a piece-wise linear
// function of the phase, scaled and offset, or a piece-wise linear ramp.
struct LfoShape {
    bool sine;  // else a ramp: p < a ? p * b - 1 : c - p * d
    double a, b, c, d;  // sine argument: p < a ? p * b : p * c + d
    int64_t quarters;  // 0 for a sine, 1 for a cosine (taken as sin(x - pi / 2), flipped)
    uint64_t flip;  // the sign bit for a cosine, else 0
    double scale, offset;  // wave = sine * scale + offset
};

// The wave at one phase or at a pair of phases: lane by lane the same operations.
template <class V>
[[gnu::always_inline]] inline V WaveOf(const LfoShape& s, V p)
{
    if (!s.sine)
        return p < s.a ? p * s.b - 1.0 : s.c - p * s.d;
    // Waves without a second piece (a is infinite) take the first piece's argument alone.
    const V arg = s.a == std::numeric_limits<double>::infinity() ? p * s.b : p < s.a ? p * s.b : p * s.c + s.d;
    return portable_math::ShiftedSinKernel(arg, s.quarters, s.flip) * s.scale + s.offset;
}

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
    // The same for any depth (0..1) and base gain.
    static void RangeOf(float depth, float base, float& centre, float& amp)
    {
        amp = depth * kGainSpan * 0.5f;
        const float upper = kMaxGain - amp;
        const float m = base < upper ? base : upper;
        const float lowest = amp + kMinGain;
        centre = lowest > m ? lowest : m;
    }
    void SetActive(bool active) { lfoActive = active; }
    void SetPhase(double phase) { lfoPhase = phase; }
    void SetDrivenParam(int16_t index) { drivenParam = index; }

    // Wave value in -1..+1 at phase `p` (0 <= p < 2 pi).
    double WaveAt(double p) const { return WaveOf(lfoShape, p); }
    // The current wave in the form of LfoShape.
    const LfoShape& Shape() const { return lfoShape; }

    // One sample's advance of a phase: the increment added, and a period taken off when the
    // phase reaches it.
    static double NextPhase(double phase, double increment)
    {
        phase += increment;
        if (phase >= kTwoPi) {
            phase -= kTwoPi;
            if (phase >= kTwoPi) [[unlikely]]
                phase = WrapPhase(phase);
        }
        return phase;
    }

    // Aligns the phase with a host sample position, as if the LFO had run since position 0.
    // Negative positions (pre-roll, a wrapped counter) still give a phase in [0, 2 pi).
    void Realign(int position);

    int16_t Target() const { return lfoTarget; }
    GainTarget TargetGain() const
    {
        return lfoTarget >= 1 && lfoTarget <= 3 ? static_cast<GainTarget>(lfoTarget) : GainTarget::None;
    }
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
    // Phase reduced into [0, 2 pi); NaN gives 0.
    static double WrapPhase(double phase);
    // Wave `wave` in the form of LfoShape, from the shape constants it uses.
    static LfoShape ShapeOf(int16_t wave, double a, double b, double c, double d);

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
    LfoShape lfoShape = ShapeOf(0, 0.0, 0.0, 0.0, 0.0);
};
