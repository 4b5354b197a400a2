// The LFO sweep's eight-lane pass: the AVX-512, AVX2 and SSE2 passes give the same bits, and
// all give per frame what stepping the LFOs one sample at a time gives (every wave, both LFOs on
// one gain or on two, odd run lengths, phase wraps).
#include "effect/LfoSweep.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
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

// Called before each run with the run's index: changes the LFOs or gains between runs.
using Change = std::function<void(SweepSetup&, int)>;

void NoChange(SweepSetup&, int) {}

// Runs of the given lengths through one sweep kept for all of them (`keep`), so that later runs
// may take their weights from an earlier pass, or through a new sweep for each.
Weights Sweep(SweepSetup setup, VectorRegisters registers, const std::vector<int>& runs, bool keep = false,
              const Change& change = NoChange)
{
    Weights w;
    LfoSweep kept(setup.lfos[0], setup.lfos[1], setup.gains, registers);
    for (size_t r = 0; r < runs.size(); ++r) {
        const int frames = runs[r];
        change(setup, static_cast<int>(r));
        LfoSweep fresh(setup.lfos[0], setup.lfos[1], setup.gains, registers);
        LfoSweep& sweep = keep ? kept : fresh;
        if (!sweep.Begin(frames)) {
            for (int i = 0; i < frames; ++i) {
                w.low.push_back(setup.gains.lowMul);
                w.high.push_back(setup.gains.highMul);
            }
            continue;
        }
        for (int i = 0; i < frames; i += 2) {
            Lanes2 low, high;
            sweep.Pair(low, high);
            for (int lane = 0; lane < 2 && i + lane < frames; ++lane) {
                w.low.push_back(low[lane]);
                w.high.push_back(high[lane]);
            }
        }
        sweep.End();
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
Weights Stepped(SweepSetup setup, const std::vector<int>& runs, const Change& change = NoChange)
{
    Weights w;
    double now[3] = {setup.gains.outNow, setup.gains.lowNow, setup.gains.highNow};
    for (size_t r = 0; r < runs.size(); ++r) {
        setup.gains.outNow = now[0];
        setup.gains.lowNow = now[1];
        setup.gains.highNow = now[2];
        change(setup, static_cast<int>(r));
        now[0] = setup.gains.outNow;
        now[1] = setup.gains.lowNow;
        now[2] = setup.gains.highNow;
        for (int i = 0; i < runs[r]; ++i) {
            for (Lfo& lfo : setup.lfos) {
                if (!lfo.Active() || lfo.TargetGain() == GainTarget::None)
                    continue;
                now[static_cast<int>(lfo.TargetGain()) - 1] = lfo.WaveAt(lfo.Phase()) * lfo.Amp() + lfo.Centre();
                lfo.SetPhase(Lfo::NextPhase(lfo.Phase(), lfo.Increment()));
            }
            w.low.push_back(now[0] * now[1]);
            w.high.push_back(now[0] * now[2]);
        }
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
    const std::vector<int> runs = {1, 2, 3, 5, 256, 7, 64, 255, 16, 16, 16, 16, 16, 16, 100, 100, 100, 8};
    for (bool keep : {false, true})
        for (int wave1 = 0; wave1 <= 8; ++wave1)
            for (int wave2 = 0; wave2 <= 8; ++wave2) {
                // LFO 2 fast enough to wrap its phase every few frames; on its own gain, and on
                // LFO 1's.
                for (int target2 : {2, 1}) {
                    const SweepSetup setup(wave1, wave2, 1, target2, 2900.0f);
                    ExpectSame(Sweep(setup, VectorRegisters::Sse2, runs, keep), Stepped(setup, runs),
                               keep ? "SSE2 pass kept over runs" : "SSE2 pass");
                }
            }
    const SweepSetup onlySecond(0, 6, 0, 3, 10.0f);
    ExpectSame(Sweep(onlySecond, VectorRegisters::Sse2, {9, 100}, true), Stepped(onlySecond, {9, 100}), "LFO 2 alone");
}

TEST(LfoSweep, AKeptPassSeesEveryChangeBetweenRuns)
{
    // Sixteen-frame runs, so that later runs would take their weights from an earlier pass, and
    // before some of them a change to what the weights depend on.
    const std::vector<int> runs(40, 16);
    const std::vector<std::pair<const char*, Change>> changes = {
        {"depth",
         [](SweepSetup& s, int r) {
             if (r == 5) {
                 s.lfos[1].SetDepthPercent(90);
                 s.lfos[1].UpdateRange(0.8f);
             }
         }},
        {"held gain",
         [](SweepSetup& s, int r) {
             if (r == 7 || r == 21)
                 s.gains.SetLow(0.3 + 0.01 * r);
         }},
        {"phase",
         [](SweepSetup& s, int r) {
             if (r == 9)
                 s.lfos[0].SetPhase(1.25);
         }},
        {"rate",
         [](SweepSetup& s, int r) {
             if (r == 11)
                 s.lfos[0].SetFrequency(7.5f, 44100.0);
         }},
        {"wave",
         [](SweepSetup& s, int r) {
             if (r == 3)
                 s.lfos[1].SetWave(4);
         }},
        {"target",
         [](SweepSetup& s, int r) {
             if (r == 13)
                 s.lfos[1].SetTarget(1);
         }},
        {"stopped and started",
         [](SweepSetup& s, int r) {
             if (r == 6 || r == 30)
                 s.lfos[1].SetActive(r == 30);
         }},
    };
    for (const auto& [what, change] : changes)
        for (VectorRegisters registers : {VectorRegisters::Sse2, VectorRegisters::Avx2, VectorRegisters::Avx512}) {
            if (!VectorRegistersAvailable(registers))
                continue;
            const SweepSetup setup(0, 1, 1, 3, 40.0f);
            ExpectSame(Sweep(setup, registers, runs, true, change), Stepped(setup, runs, change), what);
        }
}

TEST(LfoSweep, WiderPassesGiveTheSameBits)
{
    const std::vector<int> runs = {3, 256, 1, 130, 9, 16, 16, 16, 16};
    for (VectorRegisters registers : {VectorRegisters::Avx2, VectorRegisters::Avx512}) {
        if (!VectorRegistersAvailable(registers))
            continue;
        for (bool keep : {false, true})
            for (int wave1 = 0; wave1 <= 8; ++wave1)
                for (int wave2 = 0; wave2 <= 8; ++wave2) {
                    const SweepSetup setup(wave1, wave2, 1, 3, 1700.0f);
                    ExpectSame(Sweep(setup, registers, runs, keep), Sweep(setup, VectorRegisters::Sse2, runs, keep),
                               registers == VectorRegisters::Avx2 ? "AVX2 pass" : "AVX-512 pass");
                }
    }
}

TEST(LfoSweep, WavesTakenForMovingRunsAndWeightsOfSteadyRunsShareItsPasses)
{
    // Moving runs (every third) take their waves from the kept sweep and step the LFOs on by them;
    // the steady runs between give what a fresh sweep gives, also after a change of depth.
    for (VectorRegisters registers : {VectorRegisters::Sse2, VectorRegisters::Avx2, VectorRegisters::Avx512}) {
        if (!VectorRegistersAvailable(registers))
            continue;
        SweepSetup setup(2, 1, 1, 3, 40.0f);
        LfoSweep kept(setup.lfos[0], setup.lfos[1], setup.gains, registers);
        for (int r = 0; r < 30; ++r) {
            const int frames = r % 4 == 3 ? 5 : 16;
            if (r == 10) {
                setup.lfos[0].SetDepthPercent(75);
                setup.lfos[0].UpdateRange(0.9f);
            }
            if (r % 3 == 0) {
                const LfoSweep::RunWaves run = kept.TakeWaves(frames);
                for (int k = 0; k < 2; ++k) {
                    Lfo& lfo = setup.lfos[k];
                    double phase = lfo.Phase();
                    for (int i = 0; i < frames; ++i) {
                        ASSERT_TRUE(SameBits(run.wave[k][i], lfo.WaveAt(phase))) << "run " << r << " frame " << i;
                        phase = Lfo::NextPhase(phase, lfo.Increment());
                    }
                    ASSERT_TRUE(SameBits(run.phaseAfter[k], phase)) << "run " << r;
                    lfo.SetPhase(phase);
                }
                continue;
            }
            SweepSetup copy = setup;
            const Weights want = Sweep(copy, registers, {frames});
            Weights got;
            ASSERT_TRUE(kept.Begin(frames));
            for (int i = 0; i < frames; i += 2) {
                Lanes2 low, high;
                kept.Pair(low, high);
                for (int lane = 0; lane < 2 && i + lane < frames; ++lane) {
                    got.low.push_back(low[lane]);
                    got.high.push_back(high[lane]);
                }
            }
            kept.End();
            got.phase[0] = setup.lfos[0].Phase();
            got.phase[1] = setup.lfos[1].Phase();
            got.outNow = setup.gains.outNow;
            got.lowNow = setup.gains.lowNow;
            got.highNow = setup.gains.highNow;
            got.lowMul = setup.gains.lowMul;
            got.highMul = setup.gains.highMul;
            ExpectSame(got, want, ("run " + std::to_string(r)).c_str());
            if (HasFatalFailure())
                return;
        }
    }
}
