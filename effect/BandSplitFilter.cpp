#include "effect/BandSplitFilter.h"

#include "effect/PortableMath.h"

#include <algorithm>
#include <numbers>

float BandSplitFilter::DampingCoef(int32_t percent)
{
    const float e = static_cast<float>(percent) * 0.01f;
    return 6.0f - (2.0f * e - e * e) * 5.96f;
}

bool BandSplitFilter::CoefficientsOf(double hz, double damping, double sampleRate, Coefficients& out)
{
    if (!(sampleRate > 0.0) || !std::isfinite(sampleRate))
        return false;
    hz = std::min(hz, kMaxSplitRatio * sampleRate);
    const double k = 1.0 / PortableTan(hz * std::numbers::pi / sampleRate);
    const double c = damping;
    const double newA0 = 1.0 / ((c + k) * k + 1.0);
    const double newB1 = 2.0 * (1.0 - k * k) * newA0;
    const double newB2 = ((k - c) * k + 1.0) * newA0;
    // A split frequency of 0 Hz or a rate so high that K overflows gives no usable filter.
    if (!std::isfinite(newB1) || !std::isfinite(newB2) || !std::isfinite(newA0))
        return false;
    out = Coefficients{newA0, newB1, newB2};
    return true;
}

void BandSplitFilter::Recompute(double sampleRate)
{
    Coefficients c{};
    if (!CoefficientsOf(static_cast<double>(splitHz), dampingCoef, sampleRate, c))
        return;
    a0 = c.a0;
    b1 = c.b1;
    b2 = c.b2;
}

double BandSplitFilter::EffectiveSplitHz(double sampleRate) const
{
    return std::min(static_cast<double>(splitHz), kMaxSplitRatio * sampleRate);
}
