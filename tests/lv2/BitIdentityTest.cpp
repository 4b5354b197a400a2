// The LV2 plug-in sounds exactly as the VST3 plug-in processing 32-bit floats: the same input,
// settings and block plan give the same bits, with settings changed between blocks (as VST3
// points at offset 0) and bypass switched through `enabled`.
#include "FormatRender.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace lv2_test {
namespace {

constexpr int kVst3MaxBlock = 4096;

struct Case {
    const char* name;
    Stereo input;
};

std::vector<Case> Inputs()
{
    return {{"sines", Sines(1.0)}, {"noise", Noise(1.0)}, {"silence then sines", SilenceThenSines(1.2, 0.5)},
            {"demo", Demo(1.5)}};
}

Params SeveralChanged()
{
    Params p = Vst3Defaults();
    p[0] = 640.0;  // Split Freq
    p[1] = 80.0;  // Damping
    p[2] = -3.5;  // Low Gain
    p[3] = 2.0;  // High Gain
    p[5] = 2.0;  // LFO1 Target: Low Gain
    p[6] = 3.0;  // LFO1 Wave: Golden Tri
    p[7] = 7.83;  // LFO1 Freq
    p[9] = 3.0;  // LFO2 Target: High Gain
    p[11] = 0.5;  // LFO2 Freq
    p[12] = 65.0;  // LFO2 Depth
    return p;
}

void ExpectSameBothWays(const Stereo& input, const Params& settings, const Plan& plan, const HostFeatures& features,
                        int vst3MaxBlock, const std::string& what)
{
    const Stereo vst3 = RenderVst3(input, settings, plan, vst3MaxBlock);
    const Stereo lv2 = RenderLv2(input, settings, plan, features);
    EXPECT_EQ(Difference(vst3, lv2), "identical") << what;
}

TEST(Lv2BitIdentity, DefaultsPresetAndSeveralParametersInEveryBlockPlan)
{
    const std::vector<std::pair<const char*, Params>> settings = {
        {"defaults", Vst3Defaults()}, {"preset 73", Vst3PresetValues(73)}, {"several", SeveralChanged()}};
    const std::vector<std::pair<const char*, Plan>> plans = {
        {"512", {{512}, {}}}, {"64", {{64}, {}}}, {"changing", {{1, 17, 512, 0, 300, 4096, 2000, 3}, {}}}};
    for (const Case& input : Inputs())
        for (const auto& [settingName, values] : settings)
            for (const auto& [planName, plan] : plans)
                ExpectSameBothWays(input.input, values, plan, {}, kVst3MaxBlock,
                                   std::string(input.name) + ", " + settingName + ", blocks " + planName);
}

TEST(Lv2BitIdentity, SingleFrameBlocks)
{
    ExpectSameBothWays(Demo(0.25), Vst3PresetValues(73), {{1}, {}}, {}, kVst3MaxBlock, "1-frame blocks");
}

TEST(Lv2BitIdentity, HostStatedMaximumBlockLength)
{
    // The host's maxBlockLength sets the piece size as the VST3 set-up's maximum does.
    ExpectSameBothWays(Sines(0.5), SeveralChanged(), {{512}, {}}, {.map = true, .maxBlockLength = 512}, 512,
                       "maxBlockLength 512");
    ExpectSameBothWays(Demo(0.5), SeveralChanged(), {{256, 64}, {}}, {.map = true, .maxBlockLength = 256}, 256,
                       "maxBlockLength 256");
}

TEST(Lv2BitIdentity, BlocksLongerThanThePieceSizeRunInPieces)
{
    // Without a stated maximum, a 10000-frame block is processed as the VST3 plug-in processes the
    // same frames in calls of 4096, 4096 and 1808; with a stated 1000, as ten calls of 1000. Bypass
    // switched at the second long block crossfades across its pieces.
    const Stereo input = Demo(1.0);
    const Stereo vst3 = RenderVst3(input, SeveralChanged(), {{4096, 4096, 1808}, {{3, kBypassChange, 1.0}}},
                                   kVst3MaxBlock);
    const Stereo lv2 = RenderLv2(input, SeveralChanged(), {{10000}, {{1, kBypassChange, 1.0}}}, {.map = false});
    EXPECT_EQ(Difference(vst3, lv2), "identical");
    const Stereo vst3By1000 = RenderVst3(input, SeveralChanged(), {{1000}, {{10, kBypassChange, 1.0}}}, 1000);
    const Stereo lv2By1000 =
        RenderLv2(input, SeveralChanged(), {{10000}, {{1, kBypassChange, 1.0}}}, {.map = true, .maxBlockLength = 1000});
    EXPECT_EQ(Difference(vst3By1000, lv2By1000), "identical");
}

TEST(Lv2BitIdentity, ParameterChangesBetweenBlocksAreStepsLikeVst3PointsAtOffsetZero)
{
    Plan plan{{512}, {}};
    plan.changes = {
        {3, 4, -12.0},  // Out Gain
        {5, 0, 3000.0},  // Split Freq
        {5, 1, 10.0},  // Damping
        {8, 7, 12.5},  // LFO1 Freq
        {8, 8, 90.0},  // LFO1 Depth
        {10, 5, 3.0},  // LFO1 Target: High Gain
        {11, 2, -20.0},  // Low Gain
        {12, 6, 4.0},  // LFO1 Wave: Saw
        {14, 5, 0.0},  // LFO1 Target: No Assign
    };
    for (const Case& input : Inputs())
        ExpectSameBothWays(input.input, Vst3Defaults(), plan, {}, kVst3MaxBlock, input.name);
    Plan small = plan;
    small.blocks = {64, 1, 200};
    for (Change& c : small.changes)
        c.block *= 4;
    ExpectSameBothWays(Noise(0.5), Vst3PresetValues(73), small, {}, kVst3MaxBlock, "changing block lengths");
}

TEST(Lv2BitIdentity, EnabledCrossfadesLikeTheVst3BypassParameter)
{
    // Off at block 4, on again at block 9 (within the crossfade of a short block plan too), and a
    // render that starts bypassed (switching at once, before any block is processed).
    Plan plan{{512}, {{4, kBypassChange, 1.0}, {9, kBypassChange, 0.0}}};
    for (const Case& input : Inputs())
        ExpectSameBothWays(input.input, Vst3PresetValues(73), plan, {}, kVst3MaxBlock, input.name);
    ExpectSameBothWays(Demo(0.5), SeveralChanged(), {{64}, {{3, kBypassChange, 1.0}, {7, kBypassChange, 0.0}}}, {},
                       kVst3MaxBlock, "mid-crossfade");
    ExpectSameBothWays(Sines(0.5), Vst3Defaults(), {{512}, {{0, kBypassChange, 1.0}, {20, kBypassChange, 0.0}}}, {},
                       kVst3MaxBlock, "bypassed from the start");
}

TEST(Lv2BitIdentity, StateRestoredBetweenBlocksIsHeardLikeVst3SetState)
{
    // A record of other settings, bypass on, loaded while running: a step at the next block.
    Params other = SeveralChanged();
    std::vector<uint8_t> record;
    for (double v : other) {
        const auto bits = std::bit_cast<uint64_t>(static_cast<double>(static_cast<float>(v)));
        for (int b = 0; b < 8; ++b)
            record.push_back(static_cast<uint8_t>(bits >> (8 * b)));
    }
    std::vector<uint8_t> bypassed = record;
    bypassed.insert(bypassed.end(), {1, 0, 0, 0});
    Plan plan{{512}, {}, {{4, record}, {12, bypassed}}, {}};
    for (const Case& input : Inputs())
        ExpectSameBothWays(input.input, Vst3PresetValues(73), plan, {}, kVst3MaxBlock, input.name);
}

TEST(Lv2BitIdentity, ReactivationStartsAfreshLikeVst3ProcessingRestarted)
{
    Plan plan{{512}, {{2, 4, -6.0}}, {}, {5, 9}};
    for (const Case& input : Inputs())
        ExpectSameBothWays(input.input, SeveralChanged(), plan, {}, kVst3MaxBlock, input.name);
}

}  // namespace
}  // namespace lv2_test
