#include "EffectProbe.h"

#include "controls/IDrawRect.h"
#include "controls/ITextControl.h"
#include "controls/IGraphics.h"

#include "pluginterfaces/gui/iplugview.h"

#include <gtest/gtest.h>

namespace {

struct Probe {
    EffectProbe* effect = new EffectProbe;
    ~Probe() { effect->release(); }
    EffectProbe* operator->() const { return effect; }
    // The editor is made when first asked for, as for a host's first view.
    IGraphics& Editor() const { return *static_cast<IGraphics*>(effect->EnsureEditor()); }
    // One editor frame's worth of taking up what the effect published.
    void Frame() const { Editor().UpdateFromHost(); }
    IControl& At(int index) const { return *Editor().GetControl(index); }
};

}  // namespace

TEST(EditorLayout, ControlsInDrawingOrderWithTheirRectangles)
{
    Probe probe;
    ASSERT_NE(probe->EnsureEditor(), nullptr);
    EXPECT_EQ(probe.Editor().Width(), 434);
    EXPECT_EQ(probe.Editor().Height(), 480);
    ASSERT_EQ(probe.Editor().NumControls(), 20);
    EXPECT_TRUE(probe.At(0).Rect() == (IBox{0, 0, 434, 480}));  // the background comes first
    EXPECT_TRUE(probe.At(1).Rect() == (IBox{33, 327, 193, 333}));
    EXPECT_TRUE(probe.At(2).Rect() == (IBox{239, 327, 399, 333}));
    EXPECT_TRUE(probe.At(4).Rect() == (IBox{121, 15, 313, 62}));
    EXPECT_TRUE(probe.At(5).Rect() == (IBox{85, 277, 169, 292}));
    EXPECT_TRUE(probe.At(6).Rect() == (IBox{256, 277, 340, 292}));

    const struct {
        int param;
        IBox rect;
    } expected[13] = {
        {5, {87, 107, 167, 125}},  {7, {18, 152, 78, 216}},    {6, {80, 154, 148, 214}},   {8, {158, 152, 202, 216}},
        {9, {293, 107, 373, 125}}, {11, {224, 152, 284, 216}}, {10, {286, 154, 354, 214}}, {12, {364, 152, 408, 216}},
        {0, {40, 374, 98, 452}},   {1, {114, 374, 172, 452}},  {2, {188, 374, 246, 452}},  {3, {262, 374, 320, 452}},
        {4, {336, 374, 394, 452}},
    };
    for (int i = 0; i < 13; ++i) {
        const IControl& control = probe.At(7 + i);
        EXPECT_EQ(control.ParamIdx(), expected[i].param) << i;
        EXPECT_TRUE(control.Rect() == expected[i].rect) << i;
    }
}

TEST(EditorLayout, VersionTextDropsTheLastDigit)
{
    Probe probe;
    const auto* version = dynamic_cast<const ITextControl*>(&probe.At(3));
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version->Text(), "v1.1");
    EXPECT_STREQ(version->Style().font, "Verdana");
    EXPECT_EQ(version->Style().size, 13);
    EXPECT_EQ(version->Style().colour.A, 100);
}

TEST(EditorLayout, BandLabelsAndRangeBarsFollowTheLfos)
{
    Probe probe;
    probe->UseSampleRate(44100);
    probe->ApplyAll();
    const auto* label1 = dynamic_cast<const ITextControl*>(&probe.At(5));
    const auto* label2 = dynamic_cast<const ITextControl*>(&probe.At(6));
    const auto* bar1 = dynamic_cast<const IDrawRect*>(&probe.At(1));
    const auto* bar2 = dynamic_cast<const IDrawRect*>(&probe.At(2));
    ASSERT_TRUE(label1 && label2 && bar1 && bar2);

    EXPECT_STREQ(label1->Text(), "THETA");
    EXPECT_STREQ(label2->Text(), "THETA");
    EXPECT_TRUE(bar1->BarRect() == (IBox{89, 327, 137, 333}));
    EXPECT_EQ(bar2->BarRect().R, bar2->BarRect().L);  // LFO 2 starts on "No Assign"

    probe->Set(CLS_VIBRASCEND::kLfo1Freq, 30.0);
    probe.Frame();
    EXPECT_STREQ(label1->Text(), "GAMMA");
    probe->Set(CLS_VIBRASCEND::kLfo2Freq, 0.49);
    probe.Frame();
    EXPECT_STREQ(label2->Text(), "EPSILON");

    probe->Set(CLS_VIBRASCEND::kLfo1Depth, 100);
    probe.Frame();
    EXPECT_TRUE(bar1->BarRect() == (IBox{33, 327, 193, 333}));
    probe->Set(CLS_VIBRASCEND::kLfo1Target, 0);
    probe.Frame();
    EXPECT_EQ(bar1->BarRect().R, bar1->BarRect().L);
    EXPECT_EQ(bar1->BarRect().B, bar1->BarRect().T);
    probe->Set(CLS_VIBRASCEND::kLfo2Target, 2);
    probe->Set(CLS_VIBRASCEND::kLowGain, 6.0);
    probe.Frame();
    EXPECT_TRUE(bar2->BarRect() == (IBox{239 + 112, 327, 239 + 160, 333}));
}

TEST(EditorLayout, PresetRefreshesTheControls)
{
    Probe probe;
    probe->UseSampleRate(44100);
    probe->ApplyAll();
    probe.Editor();
    ASSERT_TRUE(probe->LoadPreset(73));
    probe.Frame();
    const IControl& freq = probe.At(8);
    EXPECT_NEAR(freq.Value(), probe->GetParam(CLS_VIBRASCEND::kLfo1Freq)->ToNormalized(7.83), 1e-12);
    const IControl& depth = probe.At(10);
    EXPECT_NEAR(depth.Value(), 0.15, 1e-12);
    const auto* bar1 = dynamic_cast<const IDrawRect*>(&probe.At(1));
    EXPECT_TRUE(bar1->BarRect() == (IBox{101, 327, 125, 333}));
}

TEST(EditorLayout, TheFirstViewMakesTheEditorAndLaterViewsKeepIt)
{
    Probe probe;
    EXPECT_EQ(probe->Editor(), nullptr);
    EXPECT_EQ(probe->createView("other"), nullptr);
    EXPECT_EQ(probe->Editor(), nullptr);
    Steinberg::IPlugView* first = probe->createView("editor");
    ASSERT_NE(first, nullptr);
    IFxEditor* made = probe->Editor();
    ASSERT_NE(made, nullptr);
    first->release();
    Steinberg::IPlugView* second = probe->createView("editor");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(probe->Editor(), made);
    second->release();
}

TEST(EditorLayout, ReadoutControlsAreRedrawnOnlyWhenTheEffectChangedThem)
{
    Probe probe;
    probe->UseSampleRate(44100);
    probe->ApplyAll();
    const IControl& label1 = probe.At(5);
    const IControl& bar1 = probe.At(1);
    probe.Frame();
    probe.Editor().Draw(IBox{0, 0, 434, 480});
    ASSERT_FALSE(label1.IsDirty());
    ASSERT_FALSE(bar1.IsDirty());

    probe.Frame();  // nothing published since
    EXPECT_FALSE(label1.IsDirty());
    EXPECT_FALSE(bar1.IsDirty());

    probe->Set(CLS_VIBRASCEND::kLfo1Depth, 60);  // the bar moves, the band stays
    probe.Frame();
    EXPECT_FALSE(label1.IsDirty());
    EXPECT_TRUE(bar1.IsDirty());
}
