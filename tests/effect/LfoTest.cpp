// The LFO waves, the swept range and its bar, band names, targets and phase re-alignment.
#include "EffectProbe.h"
#include "effect/BandName.h"
#include "effect/Lfo.h"

#include <gtest/gtest.h>

#include <climits>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

Lfo WithWave(int wave)
{
    Lfo lfo;
    lfo.SetWave(static_cast<int16_t>(wave));
    return lfo;
}

void RunOneBlock(EffectProbe& probe, int frames = 16)
{
    std::vector<double> l(static_cast<size_t>(frames), 0.1), r(static_cast<size_t>(frames), 0.1);
    probe.Run(l.data(), r.data(), frames);
}

}  // namespace

TEST(LfoWave, ValuesAtTheirTurningPoints)
{
    const double justBelow = 2.0 * kPi - 1e-9;
    EXPECT_NEAR(WithWave(0).WaveAt(kPi / 2.0), 1.0, 1e-12);

    const Lfo golden = WithWave(1);
    EXPECT_NEAR(golden.ShapeA(), 2.39996, 1e-5);
    EXPECT_NEAR(golden.WaveAt(0.0), 1.0, 1e-12);
    EXPECT_NEAR(golden.WaveAt(golden.ShapeA()), -1.0, 1e-12);
    EXPECT_NEAR(golden.WaveAt(justBelow), 1.0, 1e-9);

    const Lfo triangle = WithWave(2);
    EXPECT_NEAR(triangle.WaveAt(0.0), -1.0, 1e-12);
    EXPECT_NEAR(triangle.WaveAt(kPi), 1.0, 1e-12);
    EXPECT_NEAR(triangle.WaveAt(1.5 * kPi), 0.0, 1e-12);

    const Lfo goldenTri = WithWave(3);
    const double peak = Lfo::kGolden * 2.0 * kPi;
    EXPECT_NEAR(goldenTri.WaveAt(peak), 1.0, 1e-6);
    EXPECT_NEAR(goldenTri.WaveAt(justBelow), -1.0, 1e-6);

    EXPECT_NEAR(WithWave(4).WaveAt(kPi / 2.0), 1.0, 1e-12);
    EXPECT_NEAR(WithWave(4).WaveAt(justBelow), -1.0, 1e-8);
    EXPECT_NEAR(WithWave(5).WaveAt(1.5 * kPi), 1.0, 1e-12);
    EXPECT_NEAR(WithWave(5).WaveAt(justBelow), -1.0, 1e-8);

    EXPECT_NEAR(WithWave(6).WaveAt(0.0), -1.0, 1e-12);
    EXPECT_NEAR(WithWave(6).WaveAt(kPi), 1.0, 1e-12);
    EXPECT_NEAR(WithWave(7).WaveAt(0.0), 1.0, 1e-12);
    EXPECT_NEAR(WithWave(7).WaveAt(kPi), -1.0, 1e-12);

    const Lfo goldenHalf = WithWave(8);
    EXPECT_NEAR(goldenHalf.WaveAt(0.0), -1.0, 1e-12);
    EXPECT_NEAR(goldenHalf.WaveAt(peak), 1.0, 1e-6);
    EXPECT_NEAR(goldenHalf.WaveAt(justBelow), -1.0, 1e-6);
}

TEST(LfoWave, EveryWaveIsContinuousAndWithinRange)
{
    for (int wave = 0; wave <= 8; ++wave) {
        const Lfo lfo = WithWave(wave);
        const int steps = 20000;
        double previous = lfo.WaveAt(0.0);
        for (int i = 1; i < steps; ++i) {
            const double y = lfo.WaveAt(2.0 * kPi * i / steps);
            ASSERT_GE(y, -1.0 - 1e-6) << wave;
            ASSERT_LE(y, 1.0 + 1e-6) << wave;
            ASSERT_LT(std::fabs(y - previous), 0.01) << "wave " << wave << " jumps at step " << i;
            previous = y;
        }
    }
}

TEST(LfoWave, WavesWithoutShapeConstantsKeepThePreviousOnes)
{
    Lfo lfo = WithWave(2);
    lfo.SetWave(6);
    EXPECT_DOUBLE_EQ(lfo.ShapeA(), kPi);
    EXPECT_DOUBLE_EQ(lfo.ShapeC(), 3.0);
}

TEST(LfoRange, CentreAmplitudeAndBarPixels)
{
    ProbePtr probe = MakeReadyProbe();
    const Lfo& lfo = probe->GetLfo(0);
    EXPECT_NEAR(lfo.Amp(), 0.2992, 1e-4);
    EXPECT_NEAR(lfo.Centre(), 1.0, 1e-6);
    EXPECT_EQ(probe->BarRect(0), (IBox{89, 327, 137, 333}));

    probe->Set(8, 100.0);
    EXPECT_NEAR(lfo.Amp(), 0.99733, 1e-5);
    EXPECT_NEAR(lfo.Centre(), 0.99797, 1e-5);
    EXPECT_NEAR(lfo.Centre() - lfo.Amp(), 0.000631, 1e-6);
    EXPECT_NEAR(lfo.Centre() + lfo.Amp(), 1.9953, 1e-4);
    EXPECT_EQ(probe->BarRect(0), (IBox{33, 327, 193, 333}));

    probe->Set(8, 30.0);
    probe->Set(5, 2);  // "Low Gain"
    probe->Set(2, 6.0);
    EXPECT_NEAR(lfo.Centre(), 1.6961, 1e-4);
    EXPECT_NEAR(lfo.Centre() + lfo.Amp(), 1.9953, 1e-4);
    EXPECT_EQ(probe->BarRect(0), (IBox{145, 327, 193, 333}));
}

TEST(LfoRange, SweptGainFollowsTheWave)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(6, 2);  // "Triangle"
    RunOneBlock(*probe, 1);  // the first frame uses phase 0: the bottom of the sweep
    EXPECT_NEAR(probe->Gains().outNow, 1.0 - probe->GetLfo(0).Amp(), 1e-7);
    EXPECT_NEAR(probe->Gains().lowMul, probe->Gains().outNow * probe->Gains().lowNow, 1e-15);
}

TEST(LfoBand, NamesAtTheBandEdges)
{
    const struct {
        double hz;
        const char* name;
    } edges[] = {{0.01, "EPSILON"}, {0.49, "EPSILON"}, {0.5, "DELTA"},    {3.99, "DELTA"}, {4.0, "THETA"},
                 {7.99, "THETA"},   {8.0, "ALPHA"},    {14.0, "BETA"},    {29.99, "BETA"}, {30.0, "GAMMA"},
                 {99.99, "GAMMA"},  {100.0, "LAMBDA"}, {2000.0, "LAMBDA"}};
    ProbePtr probe = MakeReadyProbe();
    for (const auto& edge : edges) {
        probe->Set(7, edge.hz);
        EXPECT_STREQ(probe->Display(0).BandName(), edge.name) << edge.hz;
        probe->Set(11, edge.hz);
        EXPECT_STREQ(probe->Display(1).BandName(), edge.name) << edge.hz;
    }
    EXPECT_STREQ(BandNameOf(-1.0f), "EPSILON");
}

TEST(LfoBand, LabelChangesOnlyWhenTheTextDiffers)
{
    ProbePtr probe = MakeReadyProbe();
    const unsigned changes = probe->Display(0).LabelChanges();
    probe->Set(7, 5.0);  // still "THETA"
    EXPECT_EQ(probe->Display(0).LabelChanges(), changes);
    probe->Set(7, 9.0);
    EXPECT_EQ(probe->Display(0).LabelChanges(), changes + 1);
}

TEST(LfoTarget, SharedTargetLeavesLfo2IdleAndMovingLfo1HandsItOver)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(9, 1);  // LFO 2 on "Out Gain" too
    EXPECT_TRUE(probe->GetLfo(0).Active());
    EXPECT_FALSE(probe->GetLfo(1).Active());
    EXPECT_TRUE(probe->BarCollapsed(1));

    RunOneBlock(*probe, 100);
    EXPECT_NE(probe->Gains().outNow, probe->Gains().outBase);
    probe->Set(5, 3);  // LFO 1 moves to "High Gain"
    EXPECT_EQ(probe->Gains().outNow, probe->Gains().outBase);
    EXPECT_TRUE(probe->GetLfo(1).Active());
    EXPECT_EQ(probe->GetLfo(1).DrivenParam(), 4);
    EXPECT_FALSE(probe->BarCollapsed(1));
    EXPECT_EQ(probe->BarRect(1), (IBox{239 + 56, 327, 239 + 104, 333}));
}

TEST(LfoTarget, NoAssignRestoresTheGainAndEmptiesTheBar)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(4, -6.0);
    RunOneBlock(*probe, 300);
    EXPECT_NE(probe->Gains().outNow, probe->Gains().outBase);
    const double phase = probe->GetLfo(0).Phase();
    probe->Set(5, 0);
    EXPECT_FALSE(probe->GetLfo(0).Active());
    EXPECT_EQ(probe->Gains().outNow, probe->Gains().outBase);
    EXPECT_DOUBLE_EQ(probe->Gains().lowMul, probe->Gains().outBase * probe->Gains().lowBase);
    const IBox bar = probe->BarRect(0);
    EXPECT_EQ(bar.R, bar.L);
    EXPECT_EQ(bar.B, bar.T);
    RunOneBlock(*probe, 300);  // an idle LFO is not stepped
    EXPECT_EQ(probe->GetLfo(0).Phase(), phase);
}

TEST(LfoPhase, RealignmentFollowsTheHostPosition)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(6, 2);  // "Triangle"
    probe->Set(7, 1.0);
    probe->Set(11, 0.5);
    probe->position = 22050;
    RunOneBlock(*probe, 0);
    EXPECT_NEAR(probe->GetLfo(0).Phase(), kPi, 1e-9);
    EXPECT_NEAR(probe->GetLfo(0).WaveAt(probe->GetLfo(0).Phase()), 1.0, 1e-9);
    // LFO 2 is idle ("No Assign") and re-aligned all the same.
    EXPECT_NEAR(probe->GetLfo(1).Phase(), kPi / 2.0, 1e-9);
}

TEST(LfoPhase, NegativeAndWrappedPositionsStayInRange)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(7, 1.0);
    probe->position = -11025;  // a quarter period before zero
    RunOneBlock(*probe, 0);
    EXPECT_NEAR(probe->GetLfo(0).Phase(), 1.5 * kPi, 1e-9);
    for (int position : {-1, -44100, INT_MIN, INT_MIN + 1, INT_MAX}) {
        for (double hz : {0.01, 7.83, 1999.99}) {
            Lfo lfo;
            lfo.SetFrequency(static_cast<float>(hz), 44100.0);
            lfo.Realign(position);
            EXPECT_GE(lfo.Phase(), 0.0) << position << " " << hz;
            EXPECT_LT(lfo.Phase(), Lfo::kTwoPi) << position << " " << hz;
        }
    }
}

TEST(LfoPhase, OnlyAPauseOfMoreThanHalfASecondRealigns)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(7, 1.0);
    RunOneBlock(*probe, 100);
    probe->position = 22050;
    const double phase = probe->GetLfo(0).Phase();
    probe->clock += 490;  // 500 ms after the previous block ended
    RunOneBlock(*probe, 0);
    EXPECT_EQ(probe->GetLfo(0).Phase(), phase);
    probe->clock += 501;
    RunOneBlock(*probe, 0);
    EXPECT_NEAR(probe->GetLfo(0).Phase(), kPi, 1e-9);

    // The clock may wrap: the difference is taken unsigned.
    probe->clock = UINT32_MAX - 5;
    RunOneBlock(*probe, 0);
    probe->position = 0;
    probe->clock = 4;
    RunOneBlock(*probe, 0);
    EXPECT_NEAR(probe->GetLfo(0).Phase(), kPi, 1e-9);
}

TEST(LfoPhase, ResetZeroesThePhasesAndRequestsRealignment)
{
    ProbePtr probe = MakeReadyProbe();
    RunOneBlock(*probe, 100);
    EXPECT_GT(probe->GetLfo(0).Phase(), 0.0);
    probe->Reset();
    EXPECT_EQ(probe->GetLfo(0).Phase(), 0.0);
    probe->position = 2756;  // just under a quarter period of the 4 Hz LFO
    RunOneBlock(*probe, 0);
    EXPECT_NEAR(probe->GetLfo(0).Phase(), 2756.0 * 4.0 * 2.0 * kPi / 44100.0, 1e-9);
}
