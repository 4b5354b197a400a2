#include "framework/HostKind.h"
#include "framework/IParamDef.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string Format(const IParamDef& p, double v, bool normalized = false)
{
    char out[kParamTextSize];
    p.FormatValue(v, normalized, out);
    return out;
}

}  // namespace

TEST(ParamDef, PrecisionFollowsStep)
{
    IParamDef p;
    p.DefineDouble("a", 0, 0, 10, 0.01, "");
    EXPECT_EQ(p.Precision(), 2);
    p.DefineDouble("a", 0, 0, 10, 0.1, "");
    EXPECT_EQ(p.Precision(), 1);
    p.DefineDouble("a", 0, 0, 10, 1, "");
    EXPECT_EQ(p.Precision(), 0);
    p.DefineDouble("a", 0, 0, 10, 1.0 / 3.0, "");
    EXPECT_EQ(p.Precision(), 6);
}

TEST(ParamDef, RangeIsAtLeastOneStep)
{
    IParamDef p;
    p.DefineDouble("a", 0, 5, 2, 0.5, "");
    EXPECT_EQ(p.Max(), 5.5);
}

TEST(ParamDef, KindIsSetOnce)
{
    IParamDef p;
    p.DefineEnum("Wave", 1, 9, "");
    EXPECT_EQ(p.Kind(), kParamEnum);
    EXPECT_EQ(p.Max(), 8);
    p.DefineInt("x", 0, 0, 10, "");
    EXPECT_EQ(p.Kind(), kParamEnum);
}

TEST(ParamDef, CurveMapping)
{
    IParamDef split;
    split.DefineInt("Split Freq", 1000, 20, 20000, "Hz");
    split.SetCurve(2.0);
    split.SetCurve(0.0);
    EXPECT_EQ(split.Shape(), 2.0);
    EXPECT_DOUBLE_EQ(split.FromNormalized(0.5), 5015.0);
    EXPECT_NEAR(split.ToNormalized(5015.0), 0.5, 1e-12);
    EXPECT_EQ(split.ToNormalized(-100.0), 0.0);
    EXPECT_EQ(split.ToNormalized(1e9), 1.0);
    EXPECT_EQ(split.ToNormalized(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

TEST(ParamDef, SquareCurveIsTheExactSquareAndRoot)
{
    // The same values on every C runtime: the rounded square and the rounded square root.
    IParamDef split;
    split.DefineInt("Split Freq", 1000, 20, 20000, "Hz");
    split.SetCurve(2.0);
    for (int i = 0; i <= 4096; ++i) {
        const double n = i / 4096.0 + (i % 7) * 1e-7;
        if (n > 1.0)
            continue;
        ASSERT_EQ(split.FromNormalized(n), n * n * 19980.0 + 20.0) << n;
        const double plain = 20.0 + i * 4.8779296875;
        ASSERT_EQ(split.ToNormalized(plain), std::sqrt((plain - 20.0) / 19980.0)) << plain;
    }
}

TEST(ParamDef, SetFromNormalizedQuantisesAndClamps)
{
    IParamDef depth;
    depth.DefineInt("Depth", 30, 0, 100, "%");
    depth.SetFromNormalized(0.5);
    EXPECT_EQ(depth.Value(), 50);
    depth.SetFromNormalized(0.505);  // 50.5 rounds half up
    EXPECT_EQ(depth.Value(), 51);
    depth.SetFromNormalized(0.5049);
    EXPECT_EQ(depth.Value(), 50);
    depth.SetFromNormalized(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(depth.Value(), 50);
    depth.SetFromNormalized(7.0);
    EXPECT_EQ(depth.Value(), 100);
    depth.SetFromNormalized(-3.0);
    EXPECT_EQ(depth.Value(), 0);

    IParamDef gain;
    gain.DefineDouble("Gain", 0, -64, 6, 0.1, "dB");
    gain.SetFromNormalized(0.123456);
    EXPECT_DOUBLE_EQ(gain.Value(), 0.123456 * 70 - 64);  // doubles are not quantised
}

TEST(ParamDef, StateValuesAreClampedAndFiniteOnly)
{
    IParamDef p;
    p.DefineDouble("f", 4, 0.01, 2000, 0.01, "Hz");
    p.SetValueClamped(5000);
    EXPECT_EQ(p.Value(), 2000);
    p.SetValueClamped(-1);
    EXPECT_EQ(p.Value(), 0.01);
    p.SetValueClamped(std::numeric_limits<double>::infinity());
    EXPECT_EQ(p.Value(), 0.01);
}

TEST(ParamDef, DisplayTexts)
{
    IParamDef prec2;
    prec2.DefineDouble("f", 4, 0.01, 2000, 0.01, "Hz");
    EXPECT_EQ(Format(prec2, 0.0), "0");
    EXPECT_EQ(Format(prec2, -0.0), "0");
    EXPECT_EQ(Format(prec2, 7.83), "7.83");

    IParamDef ints;
    ints.DefineInt("i", 0, -10, 10, "");
    EXPECT_EQ(Format(ints, 2.5), "3");
    EXPECT_EQ(Format(ints, -2.5), "-3");
    EXPECT_EQ(Format(ints, 0.5, true), "0");

    IParamDef target;
    target.DefineEnum("LFO1 Target", 1, 4, "");
    target.AddValueText(0, "No Assign");
    target.AddValueText(1, "Out Gain");
    target.AddValueText(3, "");
    EXPECT_EQ(Format(target, 1), "Out Gain");
    EXPECT_EQ(Format(target, 2), "2");
    EXPECT_EQ(Format(target, 3), "3");  // an empty text shows the number
    EXPECT_EQ(Format(target, 0.4 / 3.0, true), "No Assign");

    int v = -1;
    EXPECT_TRUE(target.ValueFromText("Out Gain", &v));
    EXPECT_EQ(v, 1);
    EXPECT_FALSE(target.ValueFromText("out gain", &v));
    EXPECT_STREQ(target.ValueText(0), "No Assign");
    EXPECT_STREQ(target.ValueText(2), "");
}

TEST(ParamDef, LongTextsAreCutToTheirFields)
{
    IParamDef p;
    const std::string longName(100, 'n');
    p.DefineInt(longName.c_str(), 0, 0, 1, longName.c_str());
    p.AddValueText(0, longName.c_str());
    p.SetGroup(longName.c_str());
    EXPECT_EQ(std::string(p.Name()), longName.substr(0, 31));
    EXPECT_EQ(std::string(p.Label()), longName.substr(0, 31));
    EXPECT_EQ(std::string(p.Group()), longName.substr(0, 31));
    EXPECT_EQ(std::string(p.ValueText(0)), longName.substr(0, 31));
    EXPECT_EQ(Format(p, 0), longName.substr(0, 31));
}

TEST(HostKind, LookupOrderAndCase)
{
    EXPECT_EQ(HostKindFromName("Cubase Pro"), 3);
    EXPECT_EQ(HostKindFromName("REAPER"), 1);
    EXPECT_EQ(HostKindFromName("Steinberg Nuendo"), 4);
    EXPECT_EQ(HostKindFromName("Ableton Live 9"), 9);
    EXPECT_EQ(HostKindFromName("Logic Pro X"), 21);
    EXPECT_EQ(HostKindFromName("Cubase Live"), 3);
    EXPECT_EQ(HostKindFromName("WaveLab"), kHostWaveLab);
    EXPECT_EQ(HostKindFromName("Golden Ears"), 30);
    EXPECT_EQ(HostKindFromName(""), 0);
    EXPECT_EQ(HostKindFromName("vibrascend-render"), 0);
    EXPECT_EQ(HostKindFromName(nullptr), 0);
    EXPECT_EQ(HostKindFromName(std::string(5000, 'x').append("ardour").c_str()), 27);
}
