// The description read from an effect's declaration: ports from parameter records, presets from
// the slots in use, and the checks that refuse what the Turtle files cannot hold.
#include "EffectDescription.h"
#include "EffectPorts.h"
#include "EffectPresets.h"
#include "Lv2TurtleError.h"
#include "PluginTurtle.h"
#include "TurtleReading.h"
#include "framework/IFxBase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace vibrascend::lv2turtle {
namespace {

IFxDeclaration Declaration(int params, int presets)
{
    IFxDeclaration d{};
    d.numParams = params;
    d.channelConfig = "2-2";
    d.numPresets = presets;
    d.effectName = "Test \"Effect\"";
    d.productName = "";
    d.manufacturerName = "Maker";
    return d;
}

// A small effect: a gain in dB, a list of three values and a switch.
class SmallEffect : public IFxBase {
public:
    explicit SmallEffect(int presets = 5) : IFxBase(Declaration(3, presets))
    {
        GetParam(0)->DefineDouble("Gain", -6.0, -60.0, 12.0, 0.1, "dB");
        GetParam(1)->DefineEnum("Mode", 2, 3, "");
        GetParam(1)->AddValueText(0, "Soft");
        GetParam(1)->AddValueText(1, "Hard \"clip\"");
        GetParam(1)->AddValueText(2, "Off");
        GetParam(2)->DefineInt("Rate", 100, 10, 10000, "kHz%");
    }
};

const Lv2TurtleOptions kOptions{"out", "urn:test:plugin", "Test.so", {1, 1, 0}};

TEST(EffectControlPorts, FollowTheParameterRecordsThenTheEnabledPort)
{
    SmallEffect effect;
    const std::vector<ControlPort> ports = EffectControlPorts(effect);
    ASSERT_EQ(ports.size(), 4u);
    for (std::size_t i = 0; i < ports.size(); ++i)
        EXPECT_EQ(ports[i].index, 4 + i);
    EXPECT_EQ(ports[0].symbol, "gain");
    EXPECT_EQ(ports[0].defaultValue, -6.0);
    EXPECT_EQ(ports[0].minimum, -60.0);
    EXPECT_EQ(ports[0].maximum, 12.0);
    EXPECT_EQ(ports[0].unit, "dB");
    EXPECT_FALSE(ports[0].integer);
    EXPECT_FALSE(ports[0].logarithmic);
    EXPECT_TRUE(ports[1].integer && ports[1].enumeration && !ports[1].logarithmic);
    ASSERT_EQ(ports[1].scalePoints.size(), 3u);
    EXPECT_EQ(ports[1].scalePoints[1].label, "Hard \"clip\"");
    EXPECT_EQ(ports[1].scalePoints[1].value, 1.0);
    EXPECT_EQ(ports[1].maximum, 2.0);
    EXPECT_TRUE(ports[2].integer && ports[2].logarithmic && !ports[2].enumeration);
    EXPECT_EQ(ports[3].symbol, "enabled");
    EXPECT_TRUE(ports[3].toggled && ports[3].integer && ports[3].enablesPlugin);
    EXPECT_EQ(ports[3].defaultValue, 1.0);
}

TEST(EffectControlPorts, LogarithmicRangesArePositiveAndSpanTwoDecades)
{
    EXPECT_TRUE(IsLogarithmicRange(20.0, 20000.0));
    EXPECT_TRUE(IsLogarithmicRange(0.01, 2000.0));
    EXPECT_TRUE(IsLogarithmicRange(1.0, 100.0));
    EXPECT_FALSE(IsLogarithmicRange(1.0, 99.0));
    EXPECT_FALSE(IsLogarithmicRange(0.0, 100.0));
    EXPECT_FALSE(IsLogarithmicRange(-64.0, 6.0));
}

TEST(EffectControlPorts, RefuseSymbolsTakenTwiceAndRangesWithoutTheirDefault)
{
    {
        SmallEffect effect;
        effect.GetParam(2)->DefineDouble("GAIN", 0.0, 0.0, 1.0, 0.1, "");
        EXPECT_THROW(EffectControlPorts(effect), Lv2TurtleError);
    }
    for (const char* taken : {"Enabled", "In L", "out-r"}) {
        SmallEffect effect;
        effect.GetParam(0)->DefineDouble(taken, 0.0, 0.0, 1.0, 0.1, "");
        EXPECT_THROW(EffectControlPorts(effect), Lv2TurtleError) << taken;
    }
    {
        SmallEffect effect;
        effect.GetParam(0)->DefineDouble("Gain", 0.0, 0.0, std::numeric_limits<double>::infinity(), 0.1, "");
        EXPECT_THROW(EffectControlPorts(effect), Lv2TurtleError);
    }
    {
        SmallEffect effect;
        effect.GetParam(0)->DefineDouble("Gain", 5.0, 0.0, 1.0, 0.1, "");
        EXPECT_THROW(EffectControlPorts(effect), Lv2TurtleError);
    }
}

TEST(EffectFactoryPresets, TakeTheSlotsInUseWithTheValuesALoadSets)
{
    SmallEffect effect(6);
    effect.FillDefaultPresets("Init", 1);
    const double loud[] = {6.0, 0.0, 250.0};
    const double wild[] = {99.0, 7.0, 123.4};  // clamped and stepped as a load does
    effect.AddPreset("Loud", loud);
    effect.AddPreset("Wild 'one'", wild);
    const std::vector<FactoryPreset> presets = EffectFactoryPresets(effect);
    ASSERT_EQ(presets.size(), 3u);
    EXPECT_EQ(presets[0].slot, 0);
    EXPECT_EQ(presets[0].name, "Init");
    EXPECT_EQ(presets[0].values, (std::vector<double>{-6.0, 2.0, 100.0, 1.0}));
    EXPECT_EQ(presets[1].slot, 1);
    EXPECT_EQ(presets[1].name, "Loud");
    EXPECT_EQ(presets[1].values, (std::vector<double>{6.0, 0.0, 250.0, 1.0}));
    EXPECT_EQ(presets[2].slot, 2);
    EXPECT_EQ(presets[2].name, "Wild 'one'");
    EXPECT_EQ(presets[2].values, (std::vector<double>{12.0, 2.0, 123.0, 1.0}));
}

TEST(DescribeEffect, TakesIdentityAndVersion)
{
    SmallEffect effect;
    const PluginDescription plugin = DescribeEffect(effect, kOptions);
    EXPECT_EQ(plugin.name, "Test \"Effect\"");
    EXPECT_EQ(plugin.maintainer, "Maker");
    EXPECT_EQ(plugin.uri, "urn:test:plugin");
    EXPECT_EQ(plugin.binary, "Test.so");
    EXPECT_EQ(plugin.version.minorVersion, 2u);
    EXPECT_EQ(plugin.version.microVersion, 0u);
    EXPECT_TRUE(plugin.presets.empty());
}

TEST(PluginTurtle, IsReadableTurtleForAnyNamesAndUnits)
{
    SmallEffect effect;
    const std::string turtle = PluginTurtle(DescribeEffect(effect, kOptions));
    const test::TurtleReading reading = test::ReadTurtle(turtle);
    ASSERT_TRUE(reading.ok) << turtle;
    const auto hasObject = [&](const std::string& text) {
        return std::any_of(reading.objects.begin(), reading.objects.end(),
                           [&](const test::TurtleObject& object) { return object.text == text; });
    };
    EXPECT_TRUE(hasObject("Test \"Effect\""));
    EXPECT_TRUE(hasObject("Hard \"clip\""));
    // A unit the units vocabulary lacks is shown with its label; '%' is doubled in the format.
    EXPECT_TRUE(hasObject("kHz%"));
    EXPECT_TRUE(hasObject("%f kHz%%"));
    EXPECT_TRUE(hasObject("units:db"));
}

}  // namespace
}  // namespace vibrascend::lv2turtle
