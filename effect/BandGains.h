// The linear gains of the band-split path: the base values set by "Out Gain", "Low Gain" and
// "High Gain", the values in effect (which an LFO may sweep), and the two band weights the
// sample loop multiplies by.
#pragma once

// Which gain an LFO target names; the values equal the target parameter's values.
enum class GainTarget : int { None = 0, Out = 1, Low = 2, High = 3 };

struct BandGains {
    double outBase = 0.0;
    double lowBase = 0.0;
    double highBase = 0.0;
    double outNow = 0.0;
    double lowNow = 0.0;
    double highNow = 0.0;
    double lowMul = 0.0;
    double highMul = 0.0;

    // Linear gain of a level in tenths of a dB.
    static double LinearOfTenthsDb(int tenths);

    // A gain parameter was applied: the base and the value in effect take `linear`, and the
    // band weights are rebuilt from the base values.
    void SetOut(double linear);
    void SetLow(double linear);
    void SetHigh(double linear);

    double Base(GainTarget target) const;

    // The band weights of `frames` frames over which LFO values sweep gains, as (low, high) pairs
    // per frame: what Sweep leaves after each frame's steps, the first LFO's and then the
    // second's. A target of None takes no values. The gains in effect and the weights end as
    // the last frame left them.
    void SweepBlock(GainTarget first, const double* firstValues, GainTarget second, const double* secondValues,
                    double* weights, int frames);

    // An LFO moved the gain in effect of `target`; the band weights follow the values in effect.
    void Sweep(GainTarget target, double value)
    {
        if (target == GainTarget::Out)
            outNow = value;
        else if (target == GainTarget::Low)
            lowNow = value;
        else if (target == GainTarget::High)
            highNow = value;
        highMul = outNow * highNow;
        lowMul = outNow * lowNow;
    }
};
