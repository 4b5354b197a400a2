#include "host_error.h"
#include "selection.h"

#include <pluginterfaces/vst/ivsteditcontroller.h>

#include <gtest/gtest.h>

namespace vibrascend::host::test {
namespace {

using Steinberg::Vst::ParameterInfo;

constexpr Steinberg::Vst::ParamID kPresetList = 0x70727374;

std::vector<ParameterDescription> parameters() {
    return {
        {kPresetList, "Presets", "", 5, 0.0, ParameterInfo::kIsProgramChange | ParameterInfo::kIsList},
        {0, "Split Freq", "Hz", 19980, 0.2, ParameterInfo::kCanAutomate},
        {6, "LFO1 Wave", "", 8, 0.125, ParameterInfo::kCanAutomate},
    };
}

std::vector<ProgramList> lists() {
    return {{static_cast<Steinberg::Vst::ProgramListID>(kPresetList), "Factory Presets",
             {"---- default ----", "7.83 Hz (Schumann Resonance)", "10 Hz (Alpha) slow", "10 Hz (Alpha)", "", ""}}};
}

std::string failure(std::string_view text) {
    try {
        choosePreset(lists(), parameters(), text);
    } catch (const HostError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(PresetChoice, NumbersNamesAndUniqueSubstrings) {
    const auto byNumber = choosePreset(lists(), parameters(), "3");
    EXPECT_EQ(byNumber.index, 3);
    EXPECT_EQ(byNumber.parameter, kPresetList);
    EXPECT_DOUBLE_EQ(byNumber.normalized, 3.0 / 5.0);
    EXPECT_EQ(choosePreset(lists(), parameters(), "0").normalized, 0.0);
    EXPECT_EQ(choosePreset(lists(), parameters(), "schumann").index, 1);
    EXPECT_EQ(choosePreset(lists(), parameters(), "7.83").name, "7.83 Hz (Schumann Resonance)");
    // An exact name wins even when it is also part of a longer name.
    EXPECT_EQ(choosePreset(lists(), parameters(), "10 HZ (ALPHA)").index, 3);
}

TEST(PresetChoice, UnknownAmbiguousEmptyAndOutOfRangeAreRefused) {
    EXPECT_NE(failure("Gamma").find("unknown preset \"Gamma\""), std::string::npos);
    EXPECT_NE(failure("Hz").find("matches 3 presets"), std::string::npos);
    EXPECT_NE(failure("alpha").find("matches 2 presets"), std::string::npos);
    EXPECT_NE(failure("4").find("empty slot"), std::string::npos);
    EXPECT_NE(failure("6").find("numbered 0 to 5"), std::string::npos);
    EXPECT_THROW(choosePreset({}, parameters(), "1"), HostError);
    auto noSelector = parameters();
    noSelector.erase(noSelector.begin());
    EXPECT_THROW(choosePreset(lists(), noSelector, "1"), HostError);
}

TEST(ParameterLookup, TitlesMatchExactlyThenIgnoringCaseButNeverThePresetList) {
    const auto all = parameters();
    EXPECT_EQ(findParameter(all, "Split Freq").id, 0u);
    EXPECT_EQ(findParameter(all, "lfo1 wave").id, 6u);
    EXPECT_THROW(findParameter(all, "Split"), HostError);
    try {
        findParameter(all, "presets");
        FAIL();
    } catch (const HostError& error) {
        EXPECT_NE(std::string(error.what()).find("--preset"), std::string::npos);
    }
}

TEST(ParameterLookup, LeadingNumberAcceptsOnlyTheParameterUnits) {
    EXPECT_EQ(leadingNumber("800", "Hz"), 800.0);
    EXPECT_EQ(leadingNumber(" 800 hz ", "Hz"), 800.0);
    EXPECT_EQ(leadingNumber("-6.5dB", "dB"), -6.5);
    EXPECT_EQ(leadingNumber("+3", "dB"), 3.0);
    EXPECT_EQ(leadingNumber("800 kHz", "Hz"), std::nullopt);
    EXPECT_EQ(leadingNumber("Triangle", ""), std::nullopt);
    EXPECT_EQ(leadingNumber("3 x", ""), std::nullopt);
    EXPECT_EQ(leadingNumber("nan", "Hz"), std::nullopt);
    EXPECT_EQ(leadingNumber("1e999", "Hz"), std::nullopt);
}

}  // namespace
}  // namespace vibrascend::host::test
