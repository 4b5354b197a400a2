// The state interface: the record a save stores, a restore into a fresh instance giving the same
// record and sound, records refused whole (short, long, not numbers, another type, a bad bypass
// word), the older record without the bypass word, and hosts without urid:map.
#include "FormatRender.h"

#include <lv2/atom/atom.h>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace lv2_test {
namespace {

constexpr uint32_t kBlock = 512;
constexpr size_t kRecordBytes = kNumParams * 8 + 4;

Stereo Render(Lv2Plugin& plugin, const Stereo& input)
{
    Stereo out{std::vector<float>(input.Frames()), std::vector<float>(input.Frames())};
    for (size_t offset = 0; offset < input.Frames(); offset += kBlock) {
        const auto frames = static_cast<uint32_t>(std::min<size_t>(kBlock, input.Frames() - offset));
        plugin.Run(input.left.data() + offset, input.right.data() + offset, out.left.data() + offset,
                   out.right.data() + offset, frames);
    }
    return out;
}

Params Other()
{
    Params p = Vst3PresetValues(73);
    p[0] = 500.0;
    p[4] = -6.5;
    p[9] = 2.0;
    p[11] = 3.25;
    return p;
}

std::vector<uint8_t> RecordOf(const Params& values, int bypass)
{
    std::vector<uint8_t> record;
    for (double v : values) {
        const auto bits = std::bit_cast<uint64_t>(v);
        for (int b = 0; b < 8; ++b)
            record.push_back(static_cast<uint8_t>(bits >> (8 * b)));
    }
    if (bypass >= 0)
        record.insert(record.end(), {static_cast<uint8_t>(bypass), 0, 0, 0});
    return record;
}

double ValueIn(const std::vector<uint8_t>& record, int param)
{
    uint64_t bits = 0;
    for (int b = 7; b >= 0; --b)
        bits = bits << 8 | record[static_cast<size_t>(param * 8 + b)];
    return std::bit_cast<double>(bits);
}

TEST(Lv2State, SaveStoresTheComponentRecordAsAChunkUnderTheStateKey)
{
    Lv2Plugin plugin(kRate, {}, Other());
    plugin.Enabled() = 0.0f;
    plugin.Activate();
    Render(plugin, Sines(0.05));
    const auto saved = plugin.Save();
    ASSERT_EQ(saved.status, LV2_STATE_SUCCESS);
    EXPECT_EQ(saved.key, std::string(VIBRASCEND_LV2_URI) + "#state");
    EXPECT_STREQ(plugin.Map().Unmap(saved.type), LV2_ATOM__Chunk);
    EXPECT_EQ(saved.flags, static_cast<uint32_t>(LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE));
    Params asPorts{};
    for (size_t i = 0; i < asPorts.size(); ++i)
        asPorts[i] = static_cast<float>(Other()[i]);
    EXPECT_EQ(saved.bytes, RecordOf(asPorts, 1));
}

TEST(Lv2State, RestoreIntoAFreshInstanceGivesTheSameRecordAndSound)
{
    const Stereo input = Demo(0.5);
    Lv2Plugin source(kRate, {}, Other());
    source.Enabled() = 0.0f;
    source.Activate();
    Render(source, input);
    const auto saved = source.Save();
    ASSERT_EQ(saved.status, LV2_STATE_SUCCESS);

    // A fresh instance whose ports stand at the defaults: the restored record stays in force,
    // before and after activation.
    for (bool activeFirst : {false, true}) {
        Lv2Plugin restored(kRate, {}, Vst3Defaults());
        if (activeFirst)
            restored.Activate();
        ASSERT_EQ(restored.Restore(saved.bytes), LV2_STATE_SUCCESS);
        if (!activeFirst)
            restored.Activate();
        EXPECT_EQ(restored.Save().bytes, saved.bytes);
        Lv2Plugin direct(kRate, {}, Other());
        direct.Enabled() = 0.0f;
        direct.Activate();
        const Stereo expected = Render(direct, input);
        EXPECT_EQ(Difference(Render(restored, input), expected), "identical") << activeFirst;
        EXPECT_EQ(restored.Save().bytes, saved.bytes);
    }
}

TEST(Lv2State, PortsUnchangedAfterARestoreKeepTheRestoredValues)
{
    Lv2Plugin plugin(kRate, {}, Vst3Defaults());
    plugin.Activate();
    const Stereo input = Sines(0.1);
    Render(plugin, input);
    const auto record = RecordOf(Other(), 0);
    ASSERT_EQ(plugin.Restore(record), LV2_STATE_SUCCESS);
    Render(plugin, input);
    EXPECT_EQ(plugin.Save().bytes, record);
    // A port the host changes afterwards applies; the others keep the restored values.
    plugin.Control(4) = -12.0f;
    Render(plugin, input);
    const auto after = plugin.Save().bytes;
    EXPECT_EQ(ValueIn(after, 4), -12.0);
    for (int p = 0; p < kNumParams; ++p) {
        if (p != 4) {
            EXPECT_EQ(ValueIn(after, p), Other()[static_cast<size_t>(p)]) << p;
        }
    }
}

TEST(Lv2State, RecordsThatAreNotOursAreRefusedAndChangeNothing)
{
    const Stereo input = Noise(0.3);
    Lv2Plugin plugin(kRate, {}, Vst3PresetValues(73));
    plugin.Activate();
    Lv2Plugin untouched(kRate, {}, Vst3PresetValues(73));
    untouched.Activate();
    Render(plugin, input);
    Render(untouched, input);
    const auto before = plugin.Save().bytes;

    const auto good = RecordOf(Other(), 1);
    std::vector<std::pair<std::string, std::vector<uint8_t>>> bad = {
        {"empty", {}},
        {"short", std::vector<uint8_t>(good.begin(), good.end() - 5)},
        {"one byte long", [&] { auto r = good; r.push_back(0); return r; }()},
        {"bypass word 2", [&] { auto r = good; r[kRecordBytes - 4] = 2; return r; }()},
    };
    for (double notANumber : {std::nan(""), std::numeric_limits<double>::infinity()}) {
        Params values = Other();
        values[7] = notANumber;
        bad.emplace_back("value " + std::to_string(notANumber), RecordOf(values, 0));
    }
    for (const auto& [what, bytes] : bad)
        EXPECT_NE(plugin.Restore(bytes), LV2_STATE_SUCCESS) << what;
    EXPECT_EQ(plugin.Restore(good, plugin.Map().Map(LV2_ATOM__String)), LV2_STATE_ERR_BAD_TYPE);
    EXPECT_EQ(plugin.Restore(good, 0, "urn:another#key"), LV2_STATE_ERR_NO_PROPERTY);
    EXPECT_EQ(plugin.Restore(std::vector<uint8_t>(good.begin(), good.end() - 1)), LV2_STATE_ERR_BAD_TYPE);
    EXPECT_EQ(plugin.Restore(RecordOf([] { Params p = Other(); p[0] = std::nan(""); return p; }(), 1)),
              LV2_STATE_ERR_UNKNOWN);

    EXPECT_EQ(plugin.Save().bytes, before);
    EXPECT_EQ(Difference(Render(plugin, input), Render(untouched, input)), "identical");
}

TEST(Lv2State, ARecordWithoutTheBypassWordLoadsAndLeavesBypass)
{
    Lv2Plugin plugin(kRate, {}, Vst3Defaults());
    plugin.Enabled() = 0.0f;
    plugin.Activate();
    Render(plugin, Sines(0.05));
    ASSERT_EQ(plugin.Restore(RecordOf(Other(), -1)), LV2_STATE_SUCCESS);
    EXPECT_EQ(plugin.Save().bytes, RecordOf(Other(), 1));
    ASSERT_EQ(plugin.Restore(RecordOf(Vst3Defaults(), 0)), LV2_STATE_SUCCESS);
    ASSERT_EQ(plugin.Restore(RecordOf(Other(), -1)), LV2_STATE_SUCCESS);
    EXPECT_EQ(plugin.Save().bytes, RecordOf(Other(), 0));
}

TEST(Lv2State, WithoutUridMapSaveAndRestoreAnswerNoFeature)
{
    Lv2Plugin plugin(kRate, {.map = false}, Other());
    plugin.Activate();
    Render(plugin, Sines(0.05));
    EXPECT_EQ(plugin.Save().status, LV2_STATE_ERR_NO_FEATURE);
    EXPECT_EQ(plugin.Restore(RecordOf(Vst3Defaults(), 0)), LV2_STATE_ERR_NO_FEATURE);
    // The map offered with the call serves.
    const LV2_Feature* withMap[] = {plugin.Map().MapFeature(), nullptr};
    const auto saved = plugin.Save(withMap);
    ASSERT_EQ(saved.status, LV2_STATE_SUCCESS);
    EXPECT_EQ(saved.bytes.size(), kRecordBytes);
    EXPECT_EQ(plugin.Restore(RecordOf(Vst3Defaults(), 0), 0, {}, withMap), LV2_STATE_SUCCESS);
    EXPECT_EQ(plugin.Save(withMap).bytes, RecordOf(Vst3Defaults(), 0));
}

}  // namespace
}  // namespace lv2_test
