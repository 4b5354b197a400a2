#include "TestPlugin.h"

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

TEST(PluginBase, ShortStateKeepsWhatItDoesNotHold)
{
    PluginPtr plug;
    StateChunk chunk = ChunkOf({7});
    chunk.PutBytes("abc", 3);
    EXPECT_EQ(plug->LoadParams(chunk, 0), -1);
    EXPECT_EQ(plug->GetParam(0)->Value(), 7);
    EXPECT_EQ(plug->GetParam(1)->Value(), 1.5);
    EXPECT_EQ(plug->GetParam(2)->Value(), 1);
    EXPECT_EQ(plug->applied, (std::vector<int>{0}));

    StateChunk empty;
    EXPECT_EQ(plug->LoadParams(empty, 0), -1);
    EXPECT_EQ(plug->GetParam(0)->Value(), 7);
}

TEST(PluginBase, NonFiniteStateValuesAreSkipped)
{
    PluginPtr plug;
    const StateChunk chunk =
        ChunkOf({std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 0});
    EXPECT_EQ(plug->LoadParams(chunk, 0), 24);
    EXPECT_EQ(plug->GetParam(0)->Value(), 5);
    EXPECT_EQ(plug->GetParam(1)->Value(), 1.5);
    EXPECT_EQ(plug->GetParam(2)->Value(), 0);
}

TEST(PluginBase, PresetsDefineLoadAndName)
{
    PluginPtr plug;
    plug->FillDefaultPresets("---- default ----", 1);
    plug->AddPreset("Loud", 9, 2.0, 2);
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
    plug->AddPreset("Overflow", 1, 0.0, 0);
    for (int i = 0; i < plug->NumPresets(); ++i)
        EXPECT_STRNE(plug->PresetName(i), "Overflow");
}

TEST(PluginBase, PresetValuesAreClampedOnlyWhenLoaded)
{
    PluginPtr plug;
    plug->AddPreset("Wild", 50, -9.0, 7);
    ASSERT_TRUE(plug->LoadPreset(0));
    EXPECT_EQ(plug->GetParam(0)->Value(), 10);
    EXPECT_EQ(plug->GetParam(1)->Value(), -2);
    EXPECT_EQ(plug->GetParam(2)->Value(), 2);
}

TEST(PluginBase, PresetBankRoundTrip)
{
    PluginPtr source;
    source->FillDefaultPresets("Default", 1);
    source->AddPreset("First", 3, 0.5, 0);
    source->AddPreset("Second", 8, -1.5, 2);
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

TEST(PluginBase, CorruptPresetBanksStayInBounds)
{
    PluginPtr source;
    source->AddPreset("Named", 3, 0.5, 0);
    StateChunk bank;
    ASSERT_TRUE(source->SavePresetBank(bank));
    for (int32_t cut = 0; cut < bank.Size(); ++cut) {
        StateChunk shortBank;
        shortBank.PutBytes(bank.Data(), cut);
        PluginPtr target;
        EXPECT_LE(target->LoadPresetBank(shortBank, 0), cut);
    }
    StateChunk hostile;
    hostile.PutInt32(0x7FFFFFF0);
    hostile.PutBytes("xyz", 3);
    PluginPtr target;
    EXPECT_EQ(target->LoadPresetBank(hostile, 0), -1);
    EXPECT_EQ(target->GetParam(0)->Value(), 5);
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
