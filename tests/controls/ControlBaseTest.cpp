// The control base: values from the plug-in and from the user, clamping, dirty and clean,
// visibility, the wheel step by parameter kind and the right-press value entry.
#include "EditorFixture.h"

#include <cmath>
#include <limits>

TEST_F(Editor, FirstPushedValueBecomesTheDefaultAndEqualValuesDoNotRedraw)
{
    ProbeControl* c = Probe(0, {0, 0, 10, 10});
    graphics->PushParameterToControls(0, 0.3, true);
    EXPECT_DOUBLE_EQ(c->Value(), 0.3);
    EXPECT_DOUBLE_EQ(c->DefaultValue(), 0.3);
    c->SetClean();
    c->SetClean();
    graphics->PushParameterToControls(0, 0.3, true);
    EXPECT_FALSE(c->IsDirty());
    graphics->PushParameterToControls(0, 6.0, false);  // plain dB: 6 of -12..12
    EXPECT_DOUBLE_EQ(c->Value(), 0.75);
    EXPECT_TRUE(c->IsDirty());
    c->SetClean();
    EXPECT_TRUE(c->IsDirty());  // a pushed value asks for one more frame
    c->SetClean();
    EXPECT_FALSE(c->IsDirty());

    graphics->PushParameterToControls(0, std::numeric_limits<double>::quiet_NaN(), true);
    graphics->PushParameterToControls(-1, 0.9, true);
    graphics->PushParameterToControls(99, 0.9, false);
    EXPECT_DOUBLE_EQ(c->Value(), 0.75);
    EXPECT_EQ(Edits(), "");  // nothing pushed from the plug-in ever goes back to the host
}

TEST_F(Editor, SetDirtyClampsAndPushesOnlyLinkedControls)
{
    ProbeControl* linked = Probe(0, {0, 0, 10, 10});
    ProbeControl* free = Probe(-1, {0, 0, 10, 10});
    linked->SetValueFromEntry(7.0);
    linked->SetValueFromEntry(1.0);  // unchanged, still pushed
    linked->SetValueFromEntry(std::numeric_limits<double>::quiet_NaN());
    free->SetValueFromEntry(-3.0);
    EXPECT_DOUBLE_EQ(linked->Value(), 0.0);
    EXPECT_DOUBLE_EQ(free->Value(), 0.0);
    EXPECT_EQ(Edits(), "P0=1 P0=1 P0=0");
}

TEST_F(Editor, HideAndGrayChangeDrawingAndBlend)
{
    ProbeControl* c = Probe(-1, {0, 0, 10, 10});
    c->SetClean();
    c->SetGrayed(true);
    EXPECT_FLOAT_EQ(c->Blend().weight, 0.25f);
    EXPECT_TRUE(c->IsDirty());
    c->SetGrayed(false);
    EXPECT_FLOAT_EQ(c->Blend().weight, 1.0f);
    c->Hide(true);
    c->SetClean();
    EXPECT_TRUE(c->IsDirty());  // hiding redraws what was under it twice
    c->SetClean();
    EXPECT_FALSE(c->IsDirty());
}

TEST_F(Editor, WheelStepDependsOnTheParameterKind)
{
    ProbeControl* steps = Probe(1, {0, 0, 10, 10});
    ProbeControl* target = Probe(2, {20, 0, 30, 10});
    ProbeControl* bare = Probe(3, {40, 0, 50, 10});
    ProbeControl* none = Probe(-1, {60, 0, 70, 10});
    steps->OnMouseWheel(0, 0, {}, 3);
    target->OnMouseWheel(0, 0, IMouseState{false, false, false, true, false}, 1);
    bare->OnMouseWheel(0, 0, {}, 1);  // an enumeration without texts has no step
    none->OnMouseWheel(0, 0, {}, 1);
    EXPECT_NEAR(steps->Value(), 0.03, 1e-7);
    EXPECT_NEAR(target->Value(), 0.0125, 1e-7);
    EXPECT_DOUBLE_EQ(bare->Value(), 0.0);
    EXPECT_DOUBLE_EQ(none->Value(), 0.0);
    EXPECT_EQ(handler.Edits().size(), 2u);
}

TEST_F(Editor, RightPressOpensValueEntryOnlyForLinkedControls)
{
    ProbeControl* gain = Probe(0, {0, 0, 10, 10});
    Probe(-1, {20, 0, 30, 10});
    graphics->OnMouseDown(5, 5, Right());
    graphics->OnMouseUp(5, 5, Right());
    graphics->OnMouseDown(25, 5, Right());
    graphics->OnMouseUp(25, 5, Right());
    graphics->OnMouseDown(5, 5, Left());
    graphics->OnMouseUp(5, 5, Left());
    ASSERT_EQ(graphics->valueEntries.size(), 1u);
    EXPECT_EQ(graphics->valueEntries[0], gain);

    gain->SetClean();
    gain->OnTextEntryClosed();
    EXPECT_EQ(handler.Edits().back().kind, vibrascend::host::EditEvent::Kind::Perform);
    gain->SetClean();
    EXPECT_TRUE(gain->IsDirty());
}
