#include "effect/BandGains.h"

#include "effect/PortableMath.h"

double BandGains::LinearOfTenthsDb(int tenths)
{
    // ln(10) / 20: exp(dB * this) is 10^(dB / 20).
    constexpr double kNepersPerDb = 0.11512925464970228;
    return PortableExp(tenths * 0.1 * kNepersPerDb);
}

void BandGains::SetOut(double linear)
{
    outNow = outBase = linear;
    lowMul = linear * lowBase;
    highMul = linear * highBase;
}

void BandGains::SetLow(double linear)
{
    lowNow = lowBase = linear;
    lowMul = linear * outBase;
}

void BandGains::SetHigh(double linear)
{
    highNow = highBase = linear;
    highMul = linear * outBase;
}

void BandGains::SweepBlock(GainTarget first, const double* firstValues, GainTarget second,
                           const double* secondValues, double* weights, int frames)
{
    if (frames <= 0)
        return;
    const double* swept[4] = {nullptr, nullptr, nullptr, nullptr};
    swept[static_cast<int>(first)] = firstValues;
    swept[static_cast<int>(second)] = secondValues;
    const double* out = swept[static_cast<int>(GainTarget::Out)];
    const double* low = swept[static_cast<int>(GainTarget::Low)];
    const double* high = swept[static_cast<int>(GainTarget::High)];
    for (int i = 0; i < frames; ++i) {
        const double o = out ? out[i] : outNow;
        weights[2 * i] = o * (low ? low[i] : lowNow);
        weights[2 * i + 1] = o * (high ? high[i] : highNow);
    }
    const int last = frames - 1;
    if (out)
        outNow = out[last];
    if (low)
        lowNow = low[last];
    if (high)
        highNow = high[last];
    lowMul = weights[2 * last];
    highMul = weights[2 * last + 1];
}

double BandGains::Base(GainTarget target) const
{
    switch (target) {
    case GainTarget::Out:
        return outBase;
    case GainTarget::Low:
        return lowBase;
    case GainTarget::High:
        return highBase;
    case GainTarget::None:
        break;
    }
    return 0.0;
}
