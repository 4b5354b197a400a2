// The block path against a frame-by-frame computation written from the description (the C
// library's sine and cosine, direct-form filter): every wave on both LFOs, 64-bit in place and
// 32-bit through the float hook, odd block sizes, phase wraps, two sample rates.
#include "EffectProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 6.283185307179586;

// Wave value at phase p from the table of waves, with the LFO's own shape constants.
double ReferenceWave(int wave, const Lfo& lfo, double p)
{
    const double a = lfo.ShapeA(), b = lfo.ShapeB(), c = lfo.ShapeC(), d = lfo.ShapeD();
    switch (wave) {
    case 0: return std::sin(p);
    case 1: return p < a ? std::cos(p * b) : std::cos(p * c + d);
    case 6: return std::sin(p * 0.5) * 2.0 - 1.0;
    case 7: return std::sin(p * 0.5 + kPi) * 2.0 + 1.0;
    case 8: return p < a ? std::sin(p * b) * 2.0 - 1.0 : std::sin(p * c + d) * 2.0 - 1.0;
    default: return p < a ? p * b - 1.0 : c - p * d;
    }
}

struct Reference {
    double a0, b1, b2;
    double x1[2] = {0, 0}, x2[2] = {0, 0}, y1[2] = {0, 0}, y2[2] = {0, 0};
    double phase[2] = {0, 0};

    explicit Reference(const BandSplitFilter& f) : a0(f.A0()), b1(f.B1()), b2(f.B2()) {}

    double Low(int ch, double x)
    {
        const double y = a0 * (x + 2.0 * x1[ch] + x2[ch]) - b1 * y1[ch] - b2 * y2[ch];
        x2[ch] = x1[ch], x1[ch] = x, y2[ch] = y1[ch], y1[ch] = y;
        return y;
    }
    double Gain(int k, int wave, const Lfo& lfo)
    {
        const double g = static_cast<double>(lfo.Amp()) * ReferenceWave(wave, lfo, phase[k]) + lfo.Centre();
        phase[k] += lfo.Increment();
        if (phase[k] >= kTwoPi)
            phase[k] -= kTwoPi;
        return g;
    }
};

std::vector<double> Noise(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> d(-0.6, 0.6);
    std::vector<double> v(n);
    for (double& s : v)
        s = d(rng);
    return v;
}

// LFO 1 on "Out Gain" with wave w1 at 37 Hz, LFO 2 on "High Gain" with wave w2 at 1500 Hz (many
// phase wraps); low gain -4 dB.
ProbePtr Configured(double rate, int w1, int w2)
{
    ProbePtr probe = MakeReadyProbe(rate);
    probe->Set(1, 50.0);
    probe->Set(2, -4.0);
    probe->Set(6, w1);
    probe->Set(7, 37.0);
    probe->Set(8, 70.0);
    probe->Set(9, 3);
    probe->Set(10, w2);
    probe->Set(11, 1500.0);
    probe->Set(12, 40.0);
    return probe;
}

}  // namespace

TEST(BlockExactness, EveryWaveInBothPrecisionsMatchesTheFormula)
{
    const size_t frames = 3000;
    for (double rate : {44100.0, 48000.0}) {
        for (int w1 = 0; w1 <= 8; ++w1) {
            const int w2 = (w1 + 4) % 9;
            ProbePtr wide = Configured(rate, w1, w2);
            ProbePtr narrow = Configured(rate, w1, w2);
            std::vector<double> left = Noise(frames, 10 + w1), right = Noise(frames, 20 + w1);
            std::vector<float> leftF(left.begin(), left.end()), rightF(right.begin(), right.end());
            std::vector<float> outLF(frames), outRF(frames);
            std::vector<double> inL(leftF.begin(), leftF.end()), inR(rightF.begin(), rightF.end());
            std::vector<double> l = left, r = right;
            for (size_t done = 0, k = 0; done < frames; ++k) {
                const size_t n = std::min<size_t>(frames - done, 1 + (k * 37) % 301);
                wide->Run(l.data() + done, r.data() + done, static_cast<int>(n));  // in place
                float* in[2] = {leftF.data() + done, rightF.data() + done};
                float* out[2] = {outLF.data() + done, outRF.data() + done};
                narrow->ProcessBlockFloat(in, out, static_cast<int>(n));
                narrow->clock += 10;
                done += n;
            }

            for (int pass = 0; pass < 2; ++pass) {
                const ProbePtr& probe = pass == 0 ? wide : narrow;
                Reference ref(probe->Filter());
                const std::vector<double>& srcL = pass == 0 ? left : inL;
                const std::vector<double>& srcR = pass == 0 ? right : inR;
                std::vector<double> expectL(frames), expectR(frames);
                double peak = 0.0;
                const double low = std::exp(-40 * 0.1 * 0.11512925464970228);
                for (size_t i = 0; i < frames; ++i) {
                    const double out = ref.Gain(0, w1, probe->GetLfo(0));
                    const double high = ref.Gain(1, w2, probe->GetLfo(1));
                    const double lowL = ref.Low(0, srcL[i]), lowR = ref.Low(1, srcR[i]);
                    expectL[i] = (srcL[i] - lowL) * out * high + lowL * out * low;
                    expectR[i] = (srcR[i] - lowR) * out * high + lowR * out * low;
                    peak = std::max({peak, std::fabs(expectL[i]), std::fabs(expectR[i])});
                }
                for (size_t i = 0; i < frames; ++i) {
                    if (pass == 0) {
                        ASSERT_NEAR(l[i], expectL[i], 1e-12 * peak) << rate << " wave " << w1 << " frame " << i;
                        ASSERT_NEAR(r[i], expectR[i], 1e-12 * peak) << rate << " wave " << w1 << " frame " << i;
                    } else {
                        // Within the float rounding of the exact value.
                        const double tol = 1e-12 * peak;
                        ASSERT_NEAR(outLF[i], expectL[i], std::fabs(expectL[i]) * 0x1p-24 * 1.01 + tol) << i;
                        ASSERT_NEAR(outRF[i], expectR[i], std::fabs(expectR[i]) * 0x1p-24 * 1.01 + tol) << i;
                    }
                }
            }
        }
    }
}

TEST(BlockExactness, MonoInputAndNonFiniteSamplesStayContained)
{
    ProbePtr probe = Configured(44100.0, 0, 1);
    std::vector<float> left(999), silent(999, 0.0f), outL(999), outR(999);
    for (size_t i = 0; i < left.size(); ++i)
        left[i] = static_cast<float>(std::sin(0.01 * static_cast<double>(i)));
    left[100] = std::numeric_limits<float>::quiet_NaN();
    left[200] = std::numeric_limits<float>::infinity();
    float* in[2] = {left.data(), silent.data()};
    float* out[2] = {outL.data(), outR.data()};
    probe->ProcessBlockFloat(in, out, 999);
    EXPECT_TRUE(std::isnan(outL[100]));
    for (size_t i = 300; i < left.size(); ++i) {
        ASSERT_TRUE(std::isfinite(outL[i])) << i;
        ASSERT_EQ(outR[i], 0.0f) << i;
    }
}
