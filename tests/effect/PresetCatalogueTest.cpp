// The factory presets: which slots are defined, their names and values, and what restoring
// them does to the effect.
#include "EffectProbe.h"
#include "effect/PresetCatalogue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The number written just before " Hz" in a preset name.
double FrequencyInName(const char* name)
{
    const char* hz = std::strstr(name, " Hz");
    if (!hz)
        return -1.0;
    const char* start = hz;
    while (start > name && (start[-1] == '.' || (start[-1] >= '0' && start[-1] <= '9')))
        --start;
    return std::strtod(std::string(start, hz).c_str(), nullptr);
}

}  // namespace

TEST(PresetCatalogue, DefinesOneHundredSeventeenSlotsInOrder)
{
    ProbePtr probe(new EffectProbe);
    ASSERT_EQ(probe->NumPresets(), 150);
    EXPECT_STREQ(probe->PresetName(0), "---- default ----");
    EXPECT_FALSE(probe->PresetHasValues(0));
    for (int i = 1; i <= 116; ++i)
        EXPECT_TRUE(probe->PresetHasValues(i)) << i;
    EXPECT_STREQ(probe->PresetName(1), "0.2 Hz (Dental pain)");
    EXPECT_STREQ(probe->PresetName(35), "7.0 Hz (Mental & astral projection 2)");
    EXPECT_STREQ(probe->PresetName(73), "7.83 Hz (Schumann Resonance)");
    EXPECT_STREQ(probe->PresetName(87), "211.44 Hz (Neptune: the unconscious, secrets, imagination, spiritual love)");
    EXPECT_STREQ(probe->PresetName(116), "Solfeggio - 936 Hz (Pineal Gland Activator)");
    EXPECT_STREQ(probe->PresetName(117), "- 118 -");
    EXPECT_FALSE(probe->PresetHasValues(117));
}

TEST(PresetCatalogue, EveryNameCarriesTheFrequencyItStores)
{
    ProbePtr probe(new EffectProbe);
    ASSERT_EQ(PresetCatalogue().size(), 116u);
    double previous = 0.0;
    for (int i = 1; i <= 116; ++i) {
        const double named = FrequencyInName(probe->PresetName(i));
        EXPECT_DOUBLE_EQ(named, PresetCatalogue()[static_cast<size_t>(i - 1)].hz) << probe->PresetName(i);
        if (i <= 65) {  // the single rates ascend
            EXPECT_GE(named, previous) << i;
            previous = named;
        }
    }
}

TEST(PresetCatalogue, RestoringAPresetAppliesTheCommonValues)
{
    ProbePtr probe = MakeReadyProbe();
    probe->Set(0, 5000.0);
    probe->Set(9, 2);  // LFO 2 sweeps "Low Gain"
    std::vector<double> l(64, 0.1), r(64, 0.1);
    probe->Run(l.data(), r.data(), 64);
    EXPECT_NE(probe->Gains().lowNow, probe->Gains().lowBase);

    ASSERT_TRUE(probe->LoadPreset(73));
    const double expected[13] = {1000, 50, 0.0, 0.0, 0.0, 1, 1, 7.83, 15, 0, 1, 4.0, 30};
    for (int i = 0; i < 13; ++i)
        EXPECT_DOUBLE_EQ(probe->GetParam(i)->Value(), expected[i]) << i;
    EXPECT_EQ(probe->Filter().SplitHz(), 1000);
    EXPECT_EQ(probe->Gains().lowNow, probe->Gains().lowBase);  // LFO 2 let go of it
    EXPECT_FALSE(probe->GetLfo(1).Active());
    EXPECT_TRUE(probe->BarCollapsed(1));
    EXPECT_STREQ(probe->Display(0).BandName(), "THETA");
    EXPECT_NEAR(probe->GetLfo(0).Centre() - probe->GetLfo(0).Amp(), 0.8504, 1e-4);
    EXPECT_NEAR(probe->GetLfo(0).Centre() + probe->GetLfo(0).Amp(), 1.1496, 1e-4);
    EXPECT_EQ(probe->BarRect(0), (IBox{101, 327, 125, 333}));
}

TEST(PresetCatalogue, BandNamesOfPresets)
{
    ProbePtr probe = MakeReadyProbe();
    const struct {
        int preset;
        const char* band;
    } cases[] = {{1, "EPSILON"}, {49, "BETA"}, {50, "GAMMA"}, {62, "LAMBDA"}, {73, "THETA"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(probe->LoadPreset(c.preset));
        EXPECT_STREQ(probe->Display(0).BandName(), c.band) << c.preset;
    }
}

TEST(PresetCatalogue, SwitchingBetweenPresetsAppliesOnlyTheFrequency)
{
    ProbePtr probe = MakeReadyProbe();
    ASSERT_TRUE(probe->LoadPreset(73));
    const unsigned redraws = probe->Display(0).RangeChanges();
    ASSERT_TRUE(probe->LoadPreset(35));
    EXPECT_DOUBLE_EQ(probe->GetParam(7)->Value(), 7.0);
    EXPECT_EQ(probe->Display(0).RangeChanges(), redraws + 1);  // one applied change
}

TEST(PresetCatalogue, DefaultPresetRestoresTheDeclaredDefaults)
{
    ProbePtr probe = MakeReadyProbe();
    ASSERT_TRUE(probe->LoadPreset(73));
    probe->Set(2, -12.0);
    EXPECT_TRUE(probe->LoadPreset(0));
    for (int i = 0; i < 13; ++i)
        EXPECT_DOUBLE_EQ(probe->GetParam(i)->Value(), probe->GetParam(i)->Default()) << i;
    EXPECT_EQ(probe->Filter().SplitHz(), 1000);
    EXPECT_EQ(probe->BarRect(0), (IBox{89, 327, 137, 333}));
}
