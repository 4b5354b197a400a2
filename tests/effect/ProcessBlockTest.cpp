// The audio path against a plain re-computation of the filter and the LFOs, the silence
// fall-back, bad block arguments, and instances running on separate threads.
#include "EffectProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kGolden = 0.618034f;  // the golden section as the effect holds it

// Low-pass of the split written as a direct-form-I difference equation from the analog
// prototype 1 / (s^2 + c s + 1) under the bilinear transform.
class ReferenceLowPass {
public:
    ReferenceLowPass(double splitHz, double c, double rate)
    {
        const double k = 1.0 / std::tan(kPi * splitHz / rate);
        const double d0 = k * k + c * k + 1.0;
        g = 1.0 / d0;
        d1 = (2.0 - 2.0 * k * k) / d0;
        d2 = (k * k - c * k + 1.0) / d0;
    }
    double operator()(double x)
    {
        const double y = g * (x + 2.0 * x1 + x2) - d1 * y1 - d2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    double g, d1, d2;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
};

// Wave shapes from their description over one period t in [0, 1).
double GoldenSine(double t)
{
    const double fall = 1.0 - kGolden;  // half a cosine down, then half a cosine back up
    return t < fall ? std::cos(kPi * t / fall) : -std::cos(kPi * (t - fall) / kGolden);
}
double Triangle(double t) { return t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t; }

std::vector<double> TestSignal(size_t frames, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> noise(-0.2, 0.2);
    std::vector<double> x(frames);
    for (size_t i = 0; i < frames; ++i)
        x[i] = 0.5 * std::sin(2.0 * kPi * 220.0 * static_cast<double>(i) / 44100.0) +
               0.3 * std::sin(2.0 * kPi * 3300.0 * static_cast<double>(i) / 44100.0) + noise(rng);
    return x;
}

double Db(double db) { return std::pow(10.0, db / 20.0); }

}  // namespace

TEST(ProcessBlock, MatchesAReferenceOfFilterAndBothLfos)
{
    const double rate = 44100.0;
    ProbePtr probe = MakeReadyProbe(rate);
    probe->Set(0, 800.0);
    probe->Set(1, 80.0);
    probe->Set(2, -3.0);
    probe->Set(3, 2.5);
    probe->Set(4, -1.0);
    probe->Set(7, 3.0);  // LFO 1: "Out Gain", "Golden Sine", 3 Hz, 30 %
    probe->Set(9, 2);  // LFO 2: "Low Gain", "Triangle", 11 Hz, 50 %
    probe->Set(10, 2);
    probe->Set(11, 11.0);
    probe->Set(12, 50.0);

    const size_t frames = 8192;
    std::vector<double> left = TestSignal(frames, 1), right = TestSignal(frames, 2);
    std::vector<double> outL(frames), outR(frames);
    for (size_t done = 0; done < frames;) {  // uneven blocks, separate output buffers
        const size_t n = std::min<size_t>(frames - done, 37 + done % 500);
        double* in[2] = {left.data() + done, right.data() + done};
        double* out[2] = {outL.data() + done, outR.data() + done};
        probe->ProcessBlock(in, out, static_cast<int>(n));
        probe->clock += 5;
        done += n;
    }

    const float e = 0.8f;
    const double c = 6.0f - (2.0f * e - e * e) * 5.96f;
    ReferenceLowPass lowL(800.0, c, rate), lowR(800.0, c, rate);
    const Lfo& lfo1 = probe->GetLfo(0);
    const Lfo& lfo2 = probe->GetLfo(1);
    EXPECT_NEAR(lfo1.Centre(), Db(-1.0), 1e-6);
    EXPECT_NEAR(lfo2.Centre(), Db(-3.0), 1e-6);
    for (size_t i = 0; i < frames; ++i) {
        const double t1 = std::fmod(3.0 * static_cast<double>(i) / rate, 1.0);
        const double t2 = std::fmod(11.0 * static_cast<double>(i) / rate, 1.0);
        const double out = lfo1.Centre() + lfo1.Amp() * GoldenSine(t1);
        const double low = lfo2.Centre() + lfo2.Amp() * Triangle(t2);
        const double l = lowL(left[i]);
        const double r = lowR(right[i]);
        const double expectL = (left[i] - l) * out * Db(2.5) + l * out * low;
        const double expectR = (right[i] - r) * out * Db(2.5) + r * out * low;
        ASSERT_NEAR(outL[i], expectL, 1e-9) << i;
        ASSERT_NEAR(outR[i], expectR, 1e-9) << i;
    }
}

TEST(ProcessBlock, InPlaceEqualsSeparateBuffersAndChannelsStayApart)
{
    ProbePtr separate = MakeReadyProbe();
    ProbePtr inPlace = MakeReadyProbe();
    std::vector<double> left = TestSignal(2048, 3), silent(2048, 0.0);
    std::vector<double> outL(2048), outR(2048, 1.0);
    double* in[2] = {left.data(), silent.data()};
    double* out[2] = {outL.data(), outR.data()};
    separate->ProcessBlock(in, out, 2048);
    std::vector<double> bufL = left, bufR = silent;
    inPlace->Run(bufL.data(), bufR.data(), 2048);
    EXPECT_EQ(bufL, outL);
    for (double v : outR)
        ASSERT_EQ(v, 0.0);
}

TEST(ProcessBlock, UnityGainsGiveTheInputBack)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(5, 0);
    std::vector<double> l = TestSignal(4096, 4), r = TestSignal(4096, 5);
    const std::vector<double> inL = l, inR = r;
    probe->Run(l.data(), r.data(), 4096);
    for (size_t i = 0; i < l.size(); ++i) {
        ASSERT_NEAR(l[i], inL[i], 1e-12);
        ASSERT_NEAR(r[i], inR[i], 1e-12);
    }
}

TEST(ProcessBlock, SilenceFallsBackToACopyAfterOneSecond)
{
    ProbePtr probe = MakeReadyProbe(8000.0);
    std::vector<double> l(8000, 0.0), r(8000, 0.0);
    l[0] = 1.0;
    probe->Run(l.data(), r.data(), 8000);  // the impulse and its decay keep it processing
    std::vector<double> tail(8000, 0.0), tailR(8000, 0.0);
    probe->Run(tail.data(), tailR.data(), 8000);
    const int32_t processed = probe->SilentCount();
    ASSERT_EQ(processed, probe->TailSamples());
    const double phase = probe->GetLfo(0).Phase();

    std::vector<double> quiet(1000, 5e-12), quietR(1000, -5e-12);
    const std::vector<double> quietIn = quiet;
    probe->Run(quiet.data(), quietR.data(), 1000);
    EXPECT_EQ(quiet, quietIn);  // copied exactly
    EXPECT_EQ(probe->GetLfo(0).Phase(), phase);
    EXPECT_EQ(probe->SilentCount(), processed);

    std::vector<double> blip(1000, 0.0), blipR(1000, 0.0);
    blip[10] = 0.5;
    probe->Run(blip.data(), blipR.data(), 1000);
    EXPECT_EQ(blip[5], 0.0);
    EXPECT_NE(probe->GetLfo(0).Phase(), phase);
    EXPECT_LT(probe->SilentCount(), probe->TailSamples());
}

TEST(ProcessBlock, EmptyNegativeAndMissingBuffersTouchNothing)
{
    ProbePtr probe = MakeReadyProbe();
    std::vector<double> l(8, 0.5), r(8, 0.5);
    probe->Run(l.data(), r.data(), 0);
    probe->Run(l.data(), r.data(), -5);
    probe->Run(l.data(), nullptr, 8);
    probe->ProcessBlock(nullptr, nullptr, 8);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(l[i], 0.5);
        EXPECT_EQ(r[i], 0.5);
    }
    EXPECT_EQ(probe->SampleRateSeen(), 44100.0);  // the first call still started the effect
}

TEST(ProcessBlock, NonFiniteInputDoesNotPoisonTheFilter)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(5, 0);
    std::vector<double> l(64, 0.0), r(64, 0.0);
    l[3] = std::nan("");
    r[3] = std::numeric_limits<double>::infinity();
    probe->Run(l.data(), r.data(), 64);
    std::vector<double> next = TestSignal(64, 6), nextR = TestSignal(64, 7);
    probe->Run(next.data(), nextR.data(), 64);
    for (size_t i = 0; i < 64; ++i) {
        ASSERT_TRUE(std::isfinite(next[i])) << i;
        ASSERT_TRUE(std::isfinite(nextR[i])) << i;
    }
}

TEST(ProcessBlock, InstancesOnTwoThreadsDoNotDisturbEachOther)
{
    const std::vector<double> signal = TestSignal(44100, 8);
    auto render = [&signal](std::vector<double>* result) {
        ProbePtr probe = MakeReadyProbe();
        probe->Set(6, 8);
        std::vector<double> l = signal, r = signal;
        for (size_t done = 0; done < l.size(); done += 441) {
            probe->Run(l.data() + done, r.data() + done, 441);
            if (done % 4410 == 0)
                probe->Set(7, 1.0 + static_cast<double>(done) / 4410.0);
        }
        *result = l;
    };
    std::vector<double> alone, first, second;
    render(&alone);
    std::thread a(render, &first);
    std::thread b(render, &second);
    a.join();
    b.join();
    EXPECT_EQ(first, alone);
    EXPECT_EQ(second, alone);
}
