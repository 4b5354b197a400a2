// The LFO sweep's eight-lane pass: the AVX-512, AVX2 and SSE2 passes give the same bits, and
// all give per frame what stepping the LFOs one sample at a time gives (every wave, both LFOs on
// one gain or on two, odd run lengths, phase wraps).
#include "effect/LfoSweep.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct SweepSetup {
    Lfo lfos[2];
    BandGains gains;

    SweepSetup(int wave1, int wave2, int target1, int target2, float hz2)
    {
        const int waves[2] = {wave1, wave2};
        const int targets[2] = {target1, target2};
        const float rates[2] = {3.7f, hz2};
        for (int k = 0; k < 2; ++k) {
            lfos[k].SetTarget(static_cast<int16_t>(targets[k]));
            lfos[k].SetActive(targets[k] != 0);
            lfos[k].SetWave(static_cast<int16_t>(waves[k]));
            lfos[k].SetFrequency(rates[k], 44100.0);
            lfos[k].SetDepthPercent(40 + 20 * k);
            lfos[k].UpdateRange(0.8f);
            lfos[k].SetPhase(0.5 + 2.5 * k);
        }
        gains.SetOut(0.9);
        gains.SetLow(1.2);
        gains.SetHigh(0.7);
    }
};

struct Weights {
    std::vector<double> low, high;
    double phase[2];
    double outNow, lowNow, highNow, lowMul, highMul;
};

// Runs of the given lengths through the sweep.
Weights Sweep(SweepSetup setup, VectorRegisters registers, const std::vector<int>& runs)
{
    Weights w;
    for (int frames : runs) {
        LfoSweep sweep(setup.lfos[0], setup.lfos[1], setup.gains, registers);
        sweep.Run(frames);
        for (int i = 0; i < frames; i += 2) {
            Lanes2 low, high;
            sweep.Pair(low, high);
            for (int lane = 0; lane < 2 && i + lane < frames; ++lane) {
                w.low.push_back(low[lane]);
                w.high.push_back(high[lane]);
            }
        }
    }
    w.phase[0] = setup.lfos[0].Phase();
    w.phase[1] = setup.lfos[1].Phase();
    w.outNow = setup.gains.outNow;
    w.lowNow = setup.gains.lowNow;
    w.highNow = setup.gains.highNow;
    w.lowMul = setup.gains.lowMul;
    w.highMul = setup.gains.highMul;
    return w;
}

// One sample at a time: LFO 1 then LFO 2 sets its gain from the wave at its phase and steps.
Weights Stepped(SweepSetup setup, int frames)
{
    Weights w;
    double now[3] = {setup.gains.outNow, setup.gains.lowNow, setup.gains.highNow};
    for (int i = 0; i < frames; ++i) {
        for (Lfo& lfo : setup.lfos) {
            if (!lfo.Active() || lfo.TargetGain() == GainTarget::None)
                continue;
            now[static_cast<int>(lfo.TargetGain()) - 1] = lfo.WaveAt(lfo.Phase()) * lfo.Amp() + lfo.Centre();
            lfo.SetPhase(Lfo::NextPhase(lfo.Phase(), lfo.Increment()));
        }
        w.low.push_back(now[0] * now[1]);
        w.high.push_back(now[0] * now[2]);
    }
    w.phase[0] = setup.lfos[0].Phase();
    w.phase[1] = setup.lfos[1].Phase();
    w.outNow = now[0];
    w.lowNow = now[1];
    w.highNow = now[2];
    w.lowMul = now[0] * now[1];
    w.highMul = now[0] * now[2];
    return w;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void ExpectSame(const Weights& got, const Weights& want, const char* what)
{
    ASSERT_EQ(got.low.size(), want.low.size()) << what;
    for (size_t i = 0; i < want.low.size(); ++i) {
        ASSERT_TRUE(SameBits(got.low[i], want.low[i])) << what << " frame " << i;
        ASSERT_TRUE(SameBits(got.high[i], want.high[i])) << what << " frame " << i;
    }
    EXPECT_TRUE(SameBits(got.phase[0], want.phase[0])) << what;
    EXPECT_TRUE(SameBits(got.phase[1], want.phase[1])) << what;
    EXPECT_TRUE(SameBits(got.outNow, want.outNow)) << what;
    EXPECT_TRUE(SameBits(got.lowNow, want.lowNow)) << what;
    EXPECT_TRUE(SameBits(got.highNow, want.highNow)) << what;
    EXPECT_TRUE(SameBits(got.lowMul, want.lowMul)) << what;
    EXPECT_TRUE(SameBits(got.highMul, want.highMul)) << what;
}

}  // namespace

TEST(LfoSweep, RunsGiveWhatSteppingOneSampleAtATimeGives)
{
    const std::vector<int> runs = {1, 2, 3, 5, 256, 7, 64, 255};
    int total = 0;
    for (int frames : runs)
        total += frames;
    for (int wave1 = 0; wave1 <= 8; ++wave1)
        for (int wave2 = 0; wave2 <= 8; ++wave2) {
            // LFO 2 fast enough to wrap its phase every few frames; on its own gain, and on LFO 1's.
            for (int target2 : {2, 1}) {
                const SweepSetup setup(wave1, wave2, 1, target2, 2900.0f);
                ExpectSame(Sweep(setup, VectorRegisters::Sse2, runs), Stepped(setup, total), "SSE2 pass");
            }
        }
    const SweepSetup onlySecond(0, 6, 0, 3, 10.0f);
    ExpectSame(Sweep(onlySecond, VectorRegisters::Sse2, {9, 100}), Stepped(onlySecond, 109), "LFO 2 alone");
}

TEST(LfoSweep, WiderPassesGiveTheSameBits)
{
    const std::vector<int> runs = {3, 256, 1, 130, 9};
    for (VectorRegisters registers : {VectorRegisters::Avx2, VectorRegisters::Avx512}) {
        if (!VectorRegistersAvailable(registers))
            continue;
        for (int wave1 = 0; wave1 <= 8; ++wave1)
            for (int wave2 = 0; wave2 <= 8; ++wave2) {
                const SweepSetup setup(wave1, wave2, 1, 3, 1700.0f);
                ExpectSame(Sweep(setup, registers, runs), Sweep(setup, VectorRegisters::Sse2, runs),
                           registers == VectorRegisters::Avx2 ? "AVX2 pass" : "AVX-512 pass");
            }
    }
}
