#include "TestPlugin.h"

#include <array>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

struct PluginPtr {
    TestPlugin* p = new TestPlugin;
    ~PluginPtr() { p->release(); }
    TestPlugin* operator->() const { return p; }
};

StateChunk ChunkOf(std::initializer_list<double> values)
{
    StateChunk c;
    for (double v : values)
        c.PutDouble(v);
    return c;
}

}  // namespace

TEST(PluginBase, ChannelPairsAndIdentity)
{
    PluginPtr plug;
    EXPECT_EQ(plug->NumInputs(), 2);
    EXPECT_EQ(plug->NumOutputs(), 2);
    char version[16];
    plug->FormatVersion(version, sizeof version);
    EXPECT_STREQ(version, "v1.10");
    EXPECT_STREQ(plug->PresetName(0), "- 1 -");
    EXPECT_STREQ(plug->PresetName(3), "- 4 -");
    EXPECT_STREQ(plug->PresetName(4), "");
    EXPECT_EQ(plug->HostKind(), -1);
}

TEST(PluginBase, StateIsEightBytesPerParameter)
{
    PluginPtr plug;
    StateChunk chunk;
    ASSERT_TRUE(plug->SaveParams(chunk));
    ASSERT_EQ(chunk.Size(), 24);
    double v = 0;
    chunk.GetDouble(v, 8);
    EXPECT_EQ(v, 1.5);
}

TEST(PluginBase, LoadClampsAndNotifies)
{
    PluginPtr plug;
    const StateChunk chunk = ChunkOf({99, -1, 2});
    EXPECT_EQ(plug->LoadParams(chunk, 0), 24);
    EXPECT_EQ(plug->GetParam(0)->Value(), 10);
    EXPECT_EQ(plug->GetParam(1)->Value(), -1);
    EXPECT_EQ(plug->GetParam(2)->Value(), 2);
    EXPECT_EQ(plug->applied, (std::vector<int>{0, 1, 2}));
}

TEST(PluginBase, ShortStateChangesNothing)
{
    PluginPtr plug;
    StateChunk chunk = ChunkOf({7, 0.5});
    chunk.PutBytes("abc", 3);
    EXPECT_EQ(plug->LoadParams(chunk, 0), -1);
    EXPECT_EQ(plug->GetParam(0)->Value(), 5);
    EXPECT_EQ(plug->GetParam(1)->Value(), 1.5);
    EXPECT_EQ(plug->GetParam(2)->Value(), 1);
    EXPECT_TRUE(plug->applied.empty());

    StateChunk empty;
    EXPECT_EQ(plug->LoadParams(empty, 0), -1);
    EXPECT_EQ(plug->GetParam(0)->Value(), 5);
    EXPECT_EQ(plug->LoadParams(ChunkOf({1, 1, 1}), -1), -1);
    EXPECT_TRUE(plug->applied.empty());
}

TEST(PluginBase, NonFiniteStateValuesRefuseTheWholeRecord)
{
    PluginPtr plug;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(plug->LoadParams(ChunkOf({3, 0.5, nan}), 0), -1);
    EXPECT_EQ(plug->LoadParams(ChunkOf({inf, 0.5, 0}), 0), -1);
    EXPECT_EQ(plug->GetParam(0)->Value(), 5);
    EXPECT_EQ(plug->GetParam(1)->Value(), 1.5);
    EXPECT_EQ(plug->GetParam(2)->Value(), 1);
    EXPECT_TRUE(plug->applied.empty());
}

TEST(PluginBase, StepsAreRoundedAsHostEditsWouldBe)
{
    PluginPtr plug;
    // Count and Mode step by one; Level is a double and keeps its value.
    EXPECT_EQ(plug->LoadParams(ChunkOf({3.6, 0.3, 1.4}), 0), 24);
    EXPECT_EQ(plug->GetParam(0)->Value(), 4);
    EXPECT_EQ(plug->GetParam(1)->Value(), 0.3);
    EXPECT_EQ(plug->GetParam(2)->Value(), 1);
}

TEST(PluginBase, PresetsDefineLoadAndName)
{
    PluginPtr plug;
    plug->FillDefaultPresets("---- default ----", 1);
    plug->AddPreset("Loud", std::array<double, 3>{9, 2.0, 2});
    EXPECT_STREQ(plug->PresetName(0), "---- default ----");
    EXPECT_STREQ(plug->PresetName(1), "Loud");

    ASSERT_TRUE(plug->LoadPreset(1));
    EXPECT_EQ(plug->CurrentPreset(), 1);
    EXPECT_EQ(plug->GetParam(0)->Value(), 9);
    EXPECT_EQ(plug->GetParam(1)->Value(), 2.0);
    EXPECT_EQ(plug->GetParam(2)->Value(), 2);

    // The value-less default preset brings back every declared default.
    ASSERT_TRUE(plug->LoadPreset(0));
    EXPECT_EQ(plug->CurrentPreset(), 0);
    EXPECT_EQ(plug->GetParam(0)->Value(), 5);
    EXPECT_EQ(plug->GetParam(1)->Value(), 1.5);
    EXPECT_EQ(plug->GetParam(2)->Value(), 1);

    // Unused slots become numbered user presets and keep the current values.
    ASSERT_TRUE(plug->LoadPreset(2));
    EXPECT_STREQ(plug->PresetName(2), "user preset 1");
    ASSERT_TRUE(plug->LoadPreset(3));
    EXPECT_STREQ(plug->PresetName(3), "user preset 2");
    EXPECT_EQ(plug->GetParam(0)->Value(), 5);

    EXPECT_FALSE(plug->LoadPreset(4));
    EXPECT_FALSE(plug->LoadPreset(-1));
    EXPECT_EQ(plug->CurrentPreset(), 3);

    // No free slot left: further presets are dropped.
    plug->AddPreset("Overflow", std::array<double, 3>{1, 0.0, 0});
    for (int i = 0; i < plug->NumPresets(); ++i)
        EXPECT_STRNE(plug->PresetName(i), "Overflow");
}

TEST(PluginBase, PresetValuesAreClampedOnlyWhenLoaded)
{
    PluginPtr plug;
    plug->AddPreset("Wild", std::array<double, 3>{50, -9.0, 7});
    ASSERT_TRUE(plug->LoadPreset(0));
    EXPECT_EQ(plug->GetParam(0)->Value(), 10);
    EXPECT_EQ(plug->GetParam(1)->Value(), -2);
    EXPECT_EQ(plug->GetParam(2)->Value(), 2);
}

TEST(PluginBase, PresetBankRoundTrip)
{
    PluginPtr source;
    source->FillDefaultPresets("Default", 1);
    source->AddPreset("First", std::array<double, 3>{3, 0.5, 0});
    source->AddPreset("Second", std::array<double, 3>{8, -1.5, 2});
    StateChunk bank;
    ASSERT_TRUE(source->SavePresetBank(bank));

    PluginPtr target;
    target->SetCurrentPreset(2);
    EXPECT_EQ(target->LoadPresetBank(bank, 0), bank.Size());
    EXPECT_STREQ(target->PresetName(0), "Default");
    EXPECT_TRUE(target->PresetHasValues(0));
    EXPECT_STREQ(target->PresetName(1), "First");
    EXPECT_STREQ(target->PresetName(2), "Second");
    EXPECT_STREQ(target->PresetName(3), "- 4 -");
    // The current preset is applied after the bank is read.
    EXPECT_EQ(target->GetParam(0)->Value(), 8);
    EXPECT_EQ(target->GetParam(1)->Value(), -1.5);
}

TEST(PluginBase, CorruptPresetBanksChangeNothing)
{
    PluginPtr source;
    source->AddPreset("Named", std::array<double, 3>{3, 0.5, 0});
    source->AddPreset("Other", std::array<double, 3>{9, 1.0, 2});
    StateChunk bank;
    ASSERT_TRUE(source->SavePresetBank(bank));
    for (int32_t cut = 0; cut < bank.Size(); ++cut) {
        StateChunk shortBank;
        shortBank.PutBytes(bank.Data(), cut);
        PluginPtr target;
        target->AddPreset("Mine", std::array<double, 3>{1, -1.0, 1});
        EXPECT_EQ(target->LoadPresetBank(shortBank, 0), -1) << cut;
        EXPECT_STREQ(target->PresetName(0), "Mine") << cut;
        EXPECT_STREQ(target->PresetName(1), "- 2 -") << cut;
        EXPECT_EQ(target->GetParam(0)->Value(), 5) << cut;
        EXPECT_TRUE(target->applied.empty()) << cut;
    }
    StateChunk hostile;
    hostile.PutInt32(0x7FFFFFF0);
    hostile.PutBytes("xyz", 3);
    PluginPtr target;
    EXPECT_EQ(target->LoadPresetBank(hostile, 0), -1);
    EXPECT_EQ(target->GetParam(0)->Value(), 5);

    // A bank whose first slot holds a value that is not a number is refused as a whole. Its
    // values start after the name's length, the five letters of "Named" and the flag byte.
    StateChunk poisoned;
    poisoned.PutBytes(bank.Data(), bank.Size());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(const_cast<uint8_t*>(poisoned.Data()) + 10, &nan, 8);
    EXPECT_EQ(target->LoadPresetBank(poisoned, 0), -1);
    EXPECT_STREQ(target->PresetName(0), "- 1 -");
}

TEST(PluginBase, EditorChangesWithoutGraphics)
{
    PluginPtr plug;
    plug->SetParamFromEditor(0, 0.3);
    EXPECT_EQ(plug->GetParam(0)->Value(), 3);
    EXPECT_EQ(plug->applied.back(), 0);
    plug->SetParamFromEditor(17, 0.3);
    EXPECT_EQ(plug->applied.size(), 1u);
    plug->EndDelayedParamEdit(1);
    plug->FlushDelayedParamEdit();
}
