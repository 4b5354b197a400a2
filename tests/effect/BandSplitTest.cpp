// The band-split filter's coefficients and damping, the gains, and how the effect prepares
// itself for a sample rate.
#include "EffectProbe.h"
#include "effect/BandSplitFilter.h"
#include "effect/PortableMath.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

// |H(e^jw)| of a0 (1 + 2z^-1 + z^-2) / (1 + b1 z^-1 + b2 z^-2) at `hz`.
double Magnitude(const BandSplitFilter& f, double hz, double rate)
{
    const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * hz / rate);
    const std::complex<double> num = f.A0() * (1.0 + 2.0 * z1 + z1 * z1);
    const std::complex<double> den = 1.0 + f.B1() * z1 + f.B2() * z1 * z1;
    return std::abs(num / den);
}

// Both poles inside the unit circle (the stability triangle of a second-order denominator).
bool Stable(const BandSplitFilter& f) { return std::fabs(f.B2()) < 1.0 && std::fabs(f.B1()) < 1.0 + f.B2(); }

void RunOneBlock(EffectProbe& probe)
{
    std::vector<double> l(16, 0.0), r(16, 0.0);
    probe.Run(l.data(), r.data(), 16);
}

}  // namespace

TEST(BandSplit, DampingCoefficientFollowsThePercentage)
{
    EXPECT_NEAR(BandSplitFilter::DampingCoef(0), 6.0f, 1e-6);
    EXPECT_NEAR(BandSplitFilter::DampingCoef(50), 1.53f, 1e-6);
    EXPECT_NEAR(BandSplitFilter::DampingCoef(100), 0.04f, 1e-6);
    EXPECT_GT(BandSplitFilter::DampingCoef(30), BandSplitFilter::DampingCoef(31));
}

TEST(BandSplit, ResponseIsALowPassWithPeakOneOverDampingAtTheSplit)
{
    for (double rate : {44100.0, 96000.0}) {
        for (int damping : {0, 50, 100}) {
            BandSplitFilter f;
            f.SetSplitHz(1000);
            f.SetDampingPercent(damping);
            f.Recompute(rate);
            const double c = f.Damping();
            // The analog prototype 1 / (s^2 + c s + 1) with the split prewarped onto s = j.
            EXPECT_NEAR(Magnitude(f, 1e-3, rate), 1.0, 1e-9);
            EXPECT_NEAR(Magnitude(f, 1000.0, rate), 1.0 / c, 1e-9 / c);
            EXPECT_NEAR(Magnitude(f, rate / 2.0, rate), 0.0, 1e-9);
            EXPECT_TRUE(Stable(f));
        }
    }
}

TEST(BandSplit, CoefficientsMatchTheBilinearTransform)
{
    BandSplitFilter f;
    f.SetSplitHz(2500);
    f.SetDampingPercent(70);
    f.Recompute(48000.0);
    // Substituting s = K (1 - z^-1) / (1 + z^-1) into s^2 + c s + 1, normalised by its z^0 term.
    const double k = std::cos(kPi * 2500.0 / 48000.0) / std::sin(kPi * 2500.0 / 48000.0);
    const double c = f.Damping();
    const double d0 = k * k + c * k + 1.0;
    EXPECT_NEAR(f.A0(), 1.0 / d0, 1e-15);
    EXPECT_NEAR(f.B1(), (2.0 - 2.0 * k * k) / d0, 1e-14);
    EXPECT_NEAR(f.B2(), (k * k - c * k + 1.0) / d0, 1e-14);
}

TEST(BandSplit, SplitAtOrAboveHalfTheRateStaysStable)
{
    BandSplitFilter clamped;
    clamped.SetSplitHz(20000);
    clamped.SetDampingPercent(100);
    clamped.Recompute(32000.0);
    BandSplitFilter reference;
    reference.SetSplitHz(15680);  // 0.49 of the rate
    reference.SetDampingPercent(100);
    reference.Recompute(32000.0);
    EXPECT_TRUE(Stable(clamped));
    EXPECT_DOUBLE_EQ(clamped.A0(), reference.A0());
    EXPECT_DOUBLE_EQ(clamped.B1(), reference.B1());
    EXPECT_DOUBLE_EQ(clamped.B2(), reference.B2());
    EXPECT_EQ(clamped.SplitHz(), 20000);

    BandSplitFilter exact;  // exactly half the rate
    exact.SetSplitHz(16000);
    exact.SetDampingPercent(50);
    exact.Recompute(32000.0);
    EXPECT_TRUE(Stable(exact));
}

TEST(BandSplit, UnusableRateOrSplitKeepsTheCoefficients)
{
    BandSplitFilter f;
    f.SetSplitHz(1000);
    f.SetDampingPercent(50);
    f.Recompute(44100.0);
    const double a0 = f.A0();
    for (double rate : {0.0, -44100.0, std::nan(""), std::numeric_limits<double>::infinity(), 1e308})
        f.Recompute(rate);
    f.SetSplitHz(0);
    f.Recompute(44100.0);
    EXPECT_EQ(f.A0(), a0);
    EXPECT_TRUE(std::isfinite(f.B1()) && std::isfinite(f.B2()));
}

TEST(BandSplit, EffectKeepsTheParameterButClampsTheFilter)
{
    ProbePtr probe = MakeReadyProbe(22050.0);
    probe->Set(0, 20000.0);
    RunOneBlock(*probe);
    EXPECT_DOUBLE_EQ(probe->GetParam(0)->Value(), 20000.0);
    EXPECT_TRUE(Stable(probe->Filter()));
    std::vector<double> l(4096), r(4096);
    for (size_t i = 0; i < l.size(); ++i)
        l[i] = r[i] = std::sin(0.3 * static_cast<double>(i)) * 0.5;
    probe->Run(l.data(), r.data(), 4096);
    for (double v : l)
        ASSERT_LT(std::fabs(v), 100.0);
}

TEST(Gains, LinearValuesAndBandWeights)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(5, 0);  // no LFO sweeps a gain
    probe->Set(2, -64.0);
    EXPECT_NEAR(probe->Gains().lowBase, 0.000631, 1e-6);
    probe->Set(3, 6.0);
    EXPECT_NEAR(probe->Gains().highBase, 1.9953, 1e-4);
    probe->Set(4, -6.0);
    const BandGains& g = probe->Gains();
    EXPECT_NEAR(g.outBase, std::pow(10.0, -6.0 / 20.0), 1e-12);
    EXPECT_DOUBLE_EQ(g.lowMul, g.outBase * g.lowBase);
    EXPECT_DOUBLE_EQ(g.highMul, g.outBase * g.highBase);
    probe->Set(2, 3.0);
    EXPECT_DOUBLE_EQ(g.lowMul, g.outBase * g.lowBase);
    EXPECT_EQ(g.lowNow, g.lowBase);
}

TEST(Gains, EveryLevelTakesTheExponentialOfItsTenths)
{
    // Inside the parameters' range the values come from a table, outside it they are computed:
    // both give the bits of the exponential.
    for (int tenths = -700; tenths <= 100; ++tenths) {
        const double expected = PortableExp(tenths * 0.1 * 0.11512925464970228);
        ASSERT_EQ(std::bit_cast<uint64_t>(BandGains::LinearOfTenthsDb(tenths)), std::bit_cast<uint64_t>(expected))
            << tenths;
    }
}

TEST(SampleRate, FirstBlockPreparesAndARateChangeReappliesSplitAndFrequencies)
{
    ProbePtr probe = MakeReadyProbe();
    EXPECT_EQ(probe->SampleRateSeen(), 0.0);  // nothing prepared before the first block
    EXPECT_EQ(probe->GetLfo(0).Increment(), 0.0);
    RunOneBlock(*probe);
    EXPECT_EQ(probe->TailSamples(), 44100);
    EXPECT_NEAR(probe->GetLfo(0).Increment(), 4.0 * 2.0 * kPi / 44100.0, 1e-12);
    const double a0At44 = probe->Filter().A0();

    probe->UseSampleRate(48000.0);
    probe->Reset();
    EXPECT_EQ(probe->SampleRateSeen(), 48000.0);
    EXPECT_EQ(probe->TailSamples(), 48000);
    EXPECT_EQ(probe->CachedParam(0), 1000);
    EXPECT_EQ(probe->CachedParam(7), 400);
    EXPECT_EQ(probe->CachedParam(11), 400);
    EXPECT_NEAR(probe->GetLfo(0).Increment(), 4.0 * 2.0 * kPi / 48000.0, 1e-12);
    EXPECT_NEAR(probe->GetLfo(1).Increment(), 4.0 * 2.0 * kPi / 48000.0, 1e-12);
    EXPECT_NE(probe->Filter().A0(), a0At44);
    BandSplitFilter expected;
    expected.SetSplitHz(1000);
    expected.SetDampingPercent(50);
    expected.Recompute(48000.0);
    EXPECT_DOUBLE_EQ(probe->Filter().A0(), expected.A0());
}

TEST(SampleRate, UnusableRatesAreNotTaken)
{
    ProbePtr probe = MakeReadyProbe();
    RunOneBlock(*probe);
    for (double rate : {0.0, -8000.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        probe->UseSampleRate(rate);
        probe->Reset();
        EXPECT_EQ(probe->SampleRateSeen(), 44100.0);
        EXPECT_EQ(probe->TailSamples(), 44100);
    }
    for (double rate : {8000.0, 11025.0, 192000.0, 1.0}) {
        probe->UseSampleRate(rate);
        probe->Reset();
        std::vector<double> l(512, 0.25), r(512, -0.25);
        probe->Run(l.data(), r.data(), 512);
        EXPECT_TRUE(std::isfinite(l[511]) && std::isfinite(r[511])) << rate;
        EXPECT_TRUE(Stable(probe->Filter())) << rate;
    }
}
