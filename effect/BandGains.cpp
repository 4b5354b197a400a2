#include "effect/BandGains.h"

#include "effect/PortableMath.h"

namespace {

double LinearOfTenths(int tenths)
{
    // ln(10) / 20: exp(dB * this) is 10^(dB / 20).
    constexpr double kNepersPerDb = 0.11512925464970228;
    return PortableExp(tenths * 0.1 * kNepersPerDb);
}

// The linear gain of every level of the gain parameters' range, -64.0 to +6.0 dB in tenths,
// computed once when the library loads: host automation applies a new level every few frames.
struct GainTable {
    static constexpr int kLowest = -640;
    static constexpr int kHighest = 60;
    double linear[kHighest - kLowest + 1];

    GainTable()
    {
        for (int t = kLowest; t <= kHighest; ++t)
            linear[t - kLowest] = LinearOfTenths(t);
    }
};

const GainTable kGainTable;

}  // namespace

double BandGains::LinearOfTenthsDb(int tenths)
{
    if (tenths >= GainTable::kLowest && tenths <= GainTable::kHighest)
        return kGainTable.linear[tenths - GainTable::kLowest];
    return LinearOfTenths(tenths);
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

double BandGains::Now(GainTarget target) const
{
    switch (target) {
    case GainTarget::Out: return outNow;
    case GainTarget::Low: return lowNow;
    case GainTarget::High: return highNow;
    case GainTarget::None: break;
    }
    return 0.0;
}

double BandGains::Base(GainTarget target) const
{
    switch (target) {
    case GainTarget::Out: return outBase;
    case GainTarget::Low: return lowBase;
    case GainTarget::High: return highBase;
    case GainTarget::None: break;
    }
    return 0.0;
}
