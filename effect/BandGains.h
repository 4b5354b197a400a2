// The linear gains of the band-split path: the base values set by "Out Gain", "Low Gain" and
// "High Gain", the values in effect (which an LFO may sweep, see LfoSweep), and the two band
// weights the sample loop multiplies by.
#pragma once

// Which gain an LFO target names; the values equal the target parameter's values.
enum class GainTarget : int {
    None = 0,
    Out = 1,
    Low = 2,
    High = 3
};

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
    double Now(GainTarget target) const;
};
