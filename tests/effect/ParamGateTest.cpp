// Quantisation of parameter values, the filtering of unchanged values and the gate that keeps
// processing off until every parameter has been applied once.
#include "EffectProbe.h"
#include "effect/Quantise.h"
#include "effect/VibrascendParams.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

TEST(Quantise, NearestTakesHalvesAwayFromZeroAndSaturates)
{
    EXPECT_EQ(NearestInt(0.5), 1);
    EXPECT_EQ(NearestInt(-0.5), -1);
    EXPECT_EQ(NearestInt(0.49), 0);
    EXPECT_EQ(NearestInt(-2.5), -3);
    EXPECT_EQ(NearestInt(std::nan("")), 0);
    EXPECT_EQ(NearestInt(1e300), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(NearestInt(-1e300), std::numeric_limits<int32_t>::min());
}

TEST(Quantise, UnitsPerParameterKind)
{
    EXPECT_EQ(QuantiseParam(2, -0.05), -1);  // tenths of a dB
    EXPECT_EQ(QuantiseParam(3, 0.05), 1);
    EXPECT_EQ(QuantiseParam(4, -64.0), -640);
    EXPECT_EQ(QuantiseParam(2, 1.02), QuantiseParam(2, 1.04));
    EXPECT_EQ(QuantiseParam(7, 0.01), 1);  // hundredths of a Hz
    EXPECT_EQ(QuantiseParam(11, 2000.0), 200000);
    EXPECT_EQ(QuantiseParam(0, 1000.4), 1000);  // plain units
    EXPECT_EQ(QuantiseParam(6, 7.5), 8);
}

TEST(ParamGate, ProcessingStartsAfterThirteenDistinctIndexes)
{
    ProbePtr probe(new EffectProbe);
    EXPECT_FALSE(probe->ProcessingEnabled());
    EXPECT_EQ(probe->MissingParams(), 13);
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 12; ++i) {
            probe->Set(i, probe->GetParam(i)->Min() + round);
        }
    }
    probe->ParamChanged(-1);
    probe->ParamChanged(13);
    EXPECT_FALSE(probe->ProcessingEnabled());
    EXPECT_EQ(probe->MissingParams(), 1);
    probe->ParamChanged(12);
    EXPECT_TRUE(probe->ProcessingEnabled());
    EXPECT_EQ(probe->MissingParams(), 0);
}

TEST(ParamGate, FirstNotificationAppliesEvenAtTheDefault)
{
    ProbePtr probe(new EffectProbe);
    int32_t pattern;
    std::memset(&pattern, 0x9B, sizeof pattern);
    EXPECT_EQ(probe->CachedParam(2), pattern);
    probe->ParamChanged(2);  // "Low Gain" at its default 0 dB
    EXPECT_EQ(probe->CachedParam(2), 0);
    EXPECT_DOUBLE_EQ(probe->Gains().lowBase, 1.0);
    EXPECT_EQ(probe->CachedParam(-1), -1);
    EXPECT_EQ(probe->CachedParam(13), -1);
}

TEST(ParamGate, UnchangedQuantisedValueChangesAndRedrawsNothing)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(2, 1.02);
    const double low = probe->Gains().lowBase;
    const unsigned redraws = probe->Display(0).RangeChanges();
    probe->Set(2, 1.04);
    EXPECT_EQ(probe->Gains().lowBase, low);
    EXPECT_EQ(probe->Display(0).RangeChanges(), redraws);
    probe->Set(2, 1.06);  // 11 tenths: applies and marks both bars
    EXPECT_GT(probe->Gains().lowBase, low);
    EXPECT_EQ(probe->Display(0).RangeChanges(), redraws + 1);
}

TEST(ParamGate, EachInstanceKeepsItsOwnRecord)
{
    ProbePtr first(new EffectProbe);
    for (int i = 0; i < 7; ++i)
        first->ParamChanged(i);
    ProbePtr second(new EffectProbe);
    second->ApplyAll();
    EXPECT_TRUE(second->ProcessingEnabled());
    EXPECT_FALSE(first->ProcessingEnabled());
    EXPECT_EQ(first->MissingParams(), 6);
    for (int i = 7; i < 13; ++i)
        first->ParamChanged(i);
    EXPECT_TRUE(first->ProcessingEnabled());
}

TEST(ParamDeclaration, TargetTextsAreTheGainParameterNames)
{
    ProbePtr probe(new EffectProbe);
    for (int target : {5, 9}) {
        const IParamDef* p = probe->GetParam(target);
        ASSERT_EQ(p->ValueTextCount(), 4);
        EXPECT_STREQ(p->ValueText(0), "No Assign");
        EXPECT_STREQ(p->ValueText(1), probe->GetParam(4)->Name());
        EXPECT_STREQ(p->ValueText(2), probe->GetParam(2)->Name());
        EXPECT_STREQ(p->ValueText(3), probe->GetParam(3)->Name());
    }
    EXPECT_EQ(probe->GetParam(6)->ValueTextCount(), 9);
    EXPECT_STREQ(probe->GetParam(10)->ValueText(8), "Golden Half");
    // Half-way on the "Split Freq" knob is 5015 Hz.
    EXPECT_NEAR(probe->GetParam(0)->FromNormalized(0.5), 5015.0, 1e-9);
    EXPECT_EQ(probe->GetParam(7)->Precision(), 2);
    EXPECT_EQ(probe->GetParam(2)->Precision(), 1);
}

TEST(ParamTable, EveryIdOnceWithDefaultsInRangeAndOneTextPerEnumValue)
{
    std::array<int, kNumVibrascendParams> seen{};
    for (const VibrascendParamRow& row : VibrascendParamTable()) {
        ASSERT_GE(row.id, 0);
        ASSERT_LT(row.id, kNumVibrascendParams);
        ++seen[static_cast<size_t>(row.id)];
        EXPECT_EQ(VibrascendParamRowOf(row.id), &row);
        EXPECT_GE(row.def, row.min) << row.name;
        EXPECT_LE(row.def, row.max) << row.name;
        if (row.kind == kParamEnum)
            EXPECT_EQ(static_cast<double>(row.texts.size()), row.max - row.min + 1.0) << row.name;
        else
            EXPECT_TRUE(row.texts.empty()) << row.name;
    }
    for (int count : seen)
        EXPECT_EQ(count, 1);
    EXPECT_EQ(VibrascendParamRowOf(-1), nullptr);
    EXPECT_EQ(VibrascendParamRowOf(kNumVibrascendParams), nullptr);
    EXPECT_EQ(QuantiseParam(kNumVibrascendParams, 2.5), 3);  // outside the table: the nearest integer
}

TEST(ParamTable, DefinedRecordsMatchTheirRows)
{
    ProbePtr probe(new EffectProbe);
    for (const VibrascendParamRow& row : VibrascendParamTable()) {
        const IParamDef* p = probe->GetParam(row.id);
        ASSERT_NE(p, nullptr);
        EXPECT_STREQ(p->Name(), row.name);
        EXPECT_STREQ(p->Label(), row.unit);
        EXPECT_EQ(p->Kind(), row.kind);
        EXPECT_EQ(p->Min(), row.min);
        EXPECT_EQ(p->Max(), row.max);
        EXPECT_EQ(p->Default(), row.def);
        EXPECT_EQ(p->Shape(), row.curve);
        EXPECT_EQ(p->ValueTextCount(), static_cast<int>(row.texts.size()));
    }
}
