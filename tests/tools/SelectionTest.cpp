#include "HostError.h"
#include "Selection.h"

#include <pluginterfaces/vst/ivsteditcontroller.h>

#include <gtest/gtest.h>

namespace vibrascend::host::test {
namespace {

using Steinberg::Vst::ParameterInfo;

constexpr Steinberg::Vst::ParamID kPresetList = 0x70727374;

std::vector<ParameterDescription> Parameters()
{
    return {
        {kPresetList, "Presets", "", 5, 0.0, ParameterInfo::kIsProgramChange | ParameterInfo::kIsList},
        {0, "Split Freq", "Hz", 19980, 0.2, ParameterInfo::kCanAutomate},
        {6, "LFO1 Wave", "", 8, 0.125, ParameterInfo::kCanAutomate},
    };
}

std::vector<ProgramList> Lists()
{
    return {{static_cast<Steinberg::Vst::ProgramListID>(kPresetList),
             "Factory Presets",
             {"---- default ----", "7.83 Hz (Schumann Resonance)", "10 Hz (Alpha) slow", "10 Hz (Alpha)", "", ""}}};
}

std::string Failure(std::string_view text)
{
    try {
        ChoosePreset(Lists(), Parameters(), text);
    } catch (const HostError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(PresetChoice, NumbersNamesAndUniqueSubstrings)
{
    const auto byNumber = ChoosePreset(Lists(), Parameters(), "3");
    EXPECT_EQ(byNumber.index, 3);
    EXPECT_EQ(byNumber.parameter, kPresetList);
    EXPECT_DOUBLE_EQ(byNumber.normalized, 3.0 / 5.0);
    EXPECT_EQ(ChoosePreset(Lists(), Parameters(), "0").normalized, 0.0);
    EXPECT_EQ(ChoosePreset(Lists(), Parameters(), "schumann").index, 1);
    EXPECT_EQ(ChoosePreset(Lists(), Parameters(), "7.83").name, "7.83 Hz (Schumann Resonance)");
    // An exact name wins even when it is also part of a longer name.
    EXPECT_EQ(ChoosePreset(Lists(), Parameters(), "10 HZ (ALPHA)").index, 3);
}

TEST(PresetChoice, UnknownAmbiguousEmptyAndOutOfRangeAreRefused)
{
    EXPECT_NE(Failure("Gamma").find("unknown preset \"Gamma\""), std::string::npos);
    EXPECT_NE(Failure("Hz").find("matches 3 presets"), std::string::npos);
    EXPECT_NE(Failure("alpha").find("matches 2 presets"), std::string::npos);
    EXPECT_NE(Failure("4").find("empty slot"), std::string::npos);
    EXPECT_NE(Failure("6").find("numbered 0 to 5"), std::string::npos);
    EXPECT_THROW(ChoosePreset({}, Parameters(), "1"), HostError);
    auto noSelector = Parameters();
    noSelector.erase(noSelector.begin());
    EXPECT_THROW(ChoosePreset(Lists(), noSelector, "1"), HostError);
}

TEST(ParameterLookup, TitlesMatchExactlyThenIgnoringCaseButNeverThePresetList)
{
    const auto all = Parameters();
    EXPECT_EQ(FindParameter(all, "Split Freq").id, 0u);
    EXPECT_EQ(FindParameter(all, "lfo1 wave").id, 6u);
    EXPECT_THROW(FindParameter(all, "Split"), HostError);
    try {
        FindParameter(all, "presets");
        FAIL();
    } catch (const HostError& error) {
        EXPECT_NE(std::string(error.what()).find("--preset"), std::string::npos);
    }
}

TEST(ParameterLookup, LeadingNumberAcceptsOnlyTheParameterUnits)
{
    EXPECT_EQ(LeadingNumber("800", "Hz"), 800.0);
    EXPECT_EQ(LeadingNumber(" 800 hz ", "Hz"), 800.0);
    EXPECT_EQ(LeadingNumber("-6.5dB", "dB"), -6.5);
    EXPECT_EQ(LeadingNumber("+3", "dB"), 3.0);
    EXPECT_EQ(LeadingNumber("800 kHz", "Hz"), std::nullopt);
    EXPECT_EQ(LeadingNumber("Triangle", ""), std::nullopt);
    EXPECT_EQ(LeadingNumber("3 x", ""), std::nullopt);
    EXPECT_EQ(LeadingNumber("nan", "Hz"), std::nullopt);
    EXPECT_EQ(LeadingNumber("1e999", "Hz"), std::nullopt);
}

}  // namespace
}  // namespace vibrascend::host::test
