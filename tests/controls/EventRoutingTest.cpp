// Mouse, wheel and key events through the graphics core: capture, hit testing, the host's
// begin/perform/end notifications, the delayed end of wheel edits and hostile event orders; host
// automation reaching the controls.
#include "EditorFixture.h"

#include "ParameterChanges.h"

#include <algorithm>
#include <climits>
#include <vector>

TEST_F(Editor, DragGoesToCapturedControlAndIsBracketedByOneBeginAndEnd)
{
    ProbeControl* knob = Probe(0, {100, 100, 150, 200}, {255, 1, 2, 3}, "knob");
    graphics->PushParameterToControls(0, 0.5, true);

    graphics->OnMouseDown(120, 150, Left());
    EXPECT_EQ(graphics->MouseCapture(), graphics->NumControls() - 1);
    graphics->OnMouseDrag(120, 140, Left());
    graphics->OnMouseDrag(120, 140, Left());  // same position: no call
    graphics->OnMouseDrag(5, -900, Left());  // far outside the knob: still the knob's drag
    graphics->OnMouseUp(5, -900, Left());

    EXPECT_EQ(log, "knob.down knob.drag(0,-10) knob.drag(-115,-1040) knob.up ");
    EXPECT_EQ(Edits(), "B0 P0=0.6 P0=1 E0");
    EXPECT_DOUBLE_EQ(knob->Value(), 1.0);
    EXPECT_DOUBLE_EQ(plug->GetParam(0)->Value(), 12.0);
    EXPECT_EQ(graphics->MouseCapture(), -1);
}

TEST_F(Editor, HitTestingTakesTopmostVisibleEnabledControlWithInclusiveEdges)
{
    Probe(-1, {10, 10, 50, 50}, {}, "low");
    ProbeControl* high = Probe(-1, {30, 30, 60, 60}, {}, "high");
    EXPECT_EQ(graphics->FindControlAt(40, 40), 2);
    EXPECT_EQ(graphics->FindControlAt(60, 60), 2);  // right and bottom edges belong to it
    EXPECT_EQ(graphics->FindControlAt(61, 60), 0);  // only the background
    high->SetGrayed(true);
    EXPECT_EQ(graphics->FindControlAt(40, 40), 1);
    high->SetGrayed(false);
    high->Hide(true);
    EXPECT_EQ(graphics->FindControlAt(40, 40), 1);
    EXPECT_EQ(graphics->FindControlAt(-5, 40), -1);
    EXPECT_EQ(graphics->FindControlAt(INT_MIN, INT_MAX), -1);
}

TEST_F(Editor, HostileEventOrdersAndCoordinatesAreHarmless)
{
    ProbeControl* knob = Probe(0, {100, 100, 150, 200}, {}, "knob");
    graphics->OnMouseUp(120, 150, Left());  // release without press
    graphics->OnMouseDrag(120, 100, Left());  // drag without capture
    graphics->OnMouseDown(INT_MAX, INT_MIN, Left());  // nothing there
    graphics->OnMouseWheel(INT_MIN, INT_MIN, {}, INT_MAX);
    graphics->OnKeyDown(INT_MAX, INT_MAX, 7);
    graphics->OnMouseUp(INT_MIN, INT_MIN, Right());
    EXPECT_EQ(log, "");
    EXPECT_EQ(Edits(), "");

    graphics->OnMouseDown(100, 100, Left());
    graphics->OnMouseDrag(INT_MIN, INT_MIN, Left());  // the delta saturates instead of overflowing
    graphics->OnMouseDrag(INT_MAX, INT_MAX, Left());
    graphics->OnMouseUp(INT_MAX, INT_MAX, Left());
    EXPECT_EQ(log, "knob.down knob.drag(-2147483648,-2147483648) knob.drag(2147483647,2147483647) knob.up ");
    EXPECT_EQ(Edits(), "B0 P0=1 P0=0 E0");
    EXPECT_DOUBLE_EQ(knob->Value(), 0.0);
    graphics->Draw({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    EXPECT_EQ(graphics->presented.back(), (IBox{0, 0, 434, 480}));
}

TEST_F(Editor, SecondPressWithoutReleaseEndsTheFirstGestureFirst)
{
    Probe(0, {0, 0, 40, 40}, {}, "a");
    Probe(1, {50, 0, 90, 40}, {}, "b");
    graphics->OnMouseDown(10, 10, Left());
    graphics->OnMouseDown(60, 10, Right());
    graphics->OnMouseUp(60, 10, {});
    graphics->OnMouseUp(60, 10, {});
    EXPECT_EQ(Edits(), "B0 E0 B1 E1");
    EXPECT_EQ(log, "a.down b.down b.up ");
}

TEST_F(Editor, DoubleClickRestoresFirstReceivedValueUntilTheRelease)
{
    ProbeControl* knob = Probe(0, {0, 0, 40, 40}, {}, "knob");
    graphics->OnMouseDblClick(10, 10, Left());  // no value received yet: nothing changes
    graphics->OnMouseUp(10, 10, {});
    EXPECT_EQ(Edits(), "B0 E0");
    EXPECT_DOUBLE_EQ(knob->Value(), 0.0);

    graphics->PushParameterToControls(0, 0.3, true);
    graphics->PushParameterToControls(0, 0.7, true);
    EXPECT_DOUBLE_EQ(knob->DefaultValue(), 0.3);
    EXPECT_FALSE(graphics->OnMouseDblClick(10, 10, Left()));
    EXPECT_EQ(graphics->MouseCapture(), -1);
    graphics->OnMouseUp(12, 12, {});
    EXPECT_EQ(Edits(), "B0 E0 B0 P0=0.3 E0");
    EXPECT_EQ(log, "knob.dbl knob.up knob.dbl knob.up ");
}

TEST_F(Editor, DoubleClickAsPressCapturesTheMouse)
{
    ProbeControl* knob = Probe(0, {0, 0, 40, 40}, {}, "knob");
    knob->SetDblAsPress();
    EXPECT_TRUE(graphics->OnMouseDblClick(10, 10, Left()));
    graphics->OnMouseDrag(10, 0, Left());
    graphics->OnMouseUp(10, 0, Left());
    EXPECT_EQ(log, "knob.down knob.drag(0,-10) knob.up ");
    EXPECT_EQ(Edits(), "B0 P0=0.1 E0");
}

TEST_F(Editor, WheelStepsEndOnceAfterHalfASecond)
{
    ProbeControl* knob = Probe(0, {0, 0, 40, 40}, {}, "knob");
    graphics->PushParameterToControls(0, 0.5, true);
    graphics->OnMouseWheel(10, 10, {}, 1);
    graphics->OnMouseWheel(10, 10, Shift(), -2);
    EXPECT_NEAR(knob->Value(), 0.508, 1e-7);
    EXPECT_EQ(graphics->ParamEditCountdown(), 12);  // 24 fps / 2
    Tick(11);
    EXPECT_EQ(Edits().substr(Edits().size() - 3), "508");
    Tick();
    const std::string edits = Edits();
    EXPECT_EQ(edits.substr(0, 3), "B0 ");
    EXPECT_EQ(edits.substr(edits.size() - 3), " E0");
    EXPECT_EQ(std::count(edits.begin(), edits.end(), 'B'), 1);
    EXPECT_EQ(std::count(edits.begin(), edits.end(), 'E'), 1);
    Tick(20);
    EXPECT_EQ(Edits(), edits);

    graphics->PushParameterToControls(0, 0.995, true);
    graphics->OnMouseWheel(10, 10, {}, 1);
    EXPECT_DOUBLE_EQ(knob->Value(), 1.0);
    EXPECT_EQ(handler.Edits().back().value, 1.0);
    const size_t count = handler.Edits().size();
    graphics->OnMouseWheel(10, 10, {}, 0);  // half a notch: no event at all
    EXPECT_EQ(handler.Edits().size(), count);
}

TEST_F(Editor, WheelOnAnotherParameterOrAPressEndsThePendingWheelEdit)
{
    Probe(0, {0, 0, 40, 40});
    Probe(2, {50, 0, 90, 40});
    graphics->PushParameterToControls(0, 0.5, true);
    graphics->PushParameterToControls(2, 0.0, true);
    graphics->OnMouseWheel(10, 10, {}, 1);
    graphics->OnMouseWheel(60, 10, {}, 1);  // enum of 4 texts: steps of 0.125
    graphics->OnMouseDown(10, 10, Left());
    graphics->OnMouseUp(10, 10, Left());
    EXPECT_EQ(Edits(), "B0 P0=0.51 E0 B2 P2=0.125 E2 B0 E0");
    EXPECT_EQ(graphics->ParamEditCountdown(), 0);
}

TEST_F(Editor, MouseOverFollowsThePointerAndOutReachesEveryControl)
{
    Probe(-1, {0, 0, 40, 40}, {}, "a");
    Probe(-1, {50, 0, 90, 40}, {}, "b");
    graphics->SetMouseOverEnabled(false);
    EXPECT_FALSE(graphics->OnMouseOver(10, 10, {}));
    graphics->SetMouseOverEnabled(true);
    EXPECT_TRUE(graphics->OnMouseOver(10, 10, {}));
    EXPECT_TRUE(graphics->OnMouseOver(12, 10, {}));
    EXPECT_TRUE(graphics->OnMouseOver(60, 10, {}));
    EXPECT_TRUE(graphics->OnMouseOver(-100, -100, {}));  // nowhere: nothing changes
    EXPECT_EQ(graphics->MouseOverIndex(), 2);
    graphics->OnMouseOut();
    EXPECT_EQ(graphics->MouseOverIndex(), -1);
    EXPECT_EQ(log, "a.over a.over b.over a.out a.out b.out ");
}

TEST_F(Editor, KeysGoToTheControlUnderTheCursor)
{
    Probe(-1, {0, 0, 40, 40}, {}, "a");
    graphics->OnKeyDown(10, 10, 16);
    graphics->OnKeyDown(300, 300, 16);
    EXPECT_EQ(log, "a.key16 ");
}

TEST_F(Editor, PressOutsideTheOpenPopupClosesItWithoutAChoice)
{
    ProbeControl* opener = Probe(0, {0, 0, 40, 40}, {}, "opener");
    auto menu = std::make_unique<ProbeControl>(plug, -1, IBox{100, 100, 200, 200}, IArgb{}, &log, "menu");
    menu->SetOwner(opener);
    ProbeControl* m = menu.get();
    graphics->AttachControl(std::move(menu));
    graphics->SetPopup(m);

    graphics->OnMouseDown(150, 150, Left());  // inside the menu: stays open
    graphics->OnMouseUp(150, 150, Left());
    EXPECT_EQ(graphics->Popup(), m);
    graphics->GetControl(0)->SetClean();

    graphics->OnMouseDown(10, 10, Right());  // outside: closed, and this press opens nothing
    graphics->OnMouseUp(10, 10, Right());
    EXPECT_EQ(log, "menu.down menu.up opener.choice(,-1) ~menu opener.down opener.up ");
    EXPECT_EQ(graphics->Popup(), nullptr);
    EXPECT_TRUE(graphics->PopupSlotEmpty());
    EXPECT_TRUE(graphics->GetControl(0)->IsDirty());
    EXPECT_TRUE(graphics->valueEntries.empty());

    graphics->OnMouseDown(10, 10, Right());  // the next right press opens value entry
    graphics->OnMouseUp(10, 10, Right());
    ASSERT_EQ(graphics->valueEntries.size(), 1u);
    EXPECT_EQ(graphics->valueEntries[0], opener);
}

TEST_F(Editor, AControlRemovedDuringItsPressLeavesNoStaleCapture)
{
    ProbeControl* a = Probe(-1, {0, 0, 40, 40}, {}, "a");
    Probe(-1, {50, 0, 90, 40}, {}, "b");
    graphics->OnMouseOver(60, 10, {});
    graphics->OnMouseDown(10, 10, Left());
    EXPECT_EQ(graphics->MouseCapture(), 1);
    std::unique_ptr<IControl> removed = graphics->RemoveControl(a);
    EXPECT_EQ(removed.get(), a);
    EXPECT_EQ(graphics->MouseCapture(), -1);
    EXPECT_EQ(graphics->MouseOverIndex(), 1);
    graphics->OnMouseDrag(20, 20, Left());
    graphics->OnMouseUp(20, 20, Left());
    EXPECT_EQ(log, "b.over a.down ");
    EXPECT_EQ(graphics->RemoveControl(a), nullptr);
}

TEST_F(Editor, EnteredTextIsADisplayTextOrANumberAndAnythingElseChangesNothing)
{
    ProbeControl* target = Probe(2, {0, 0, 40, 40});
    ProbeControl* gain = Probe(0, {50, 0, 90, 40});
    graphics->ApplyEnteredText(target, plug->GetParam(2), "Low Gain");
    graphics->ApplyEnteredText(gain, plug->GetParam(0), " 6 ");
    graphics->ApplyEnteredText(gain, plug->GetParam(0), "loud");
    graphics->ApplyEnteredText(gain, plug->GetParam(0), "");
    graphics->ApplyEnteredText(gain, plug->GetParam(0), "nan");
    graphics->ApplyEnteredText(gain, plug->GetParam(0), "400");
    graphics->ApplyEnteredText(nullptr, plug->GetParam(0), "1");
    graphics->ApplyEnteredText(gain, nullptr, "1");
    EXPECT_NEAR(target->Value(), 2.0 / 3.0, 1e-12);
    EXPECT_EQ(Edits(), "B2 P2=0.666667 E2 B0 P0=0.75 E0 B0 P0=1 E0");
}

TEST_F(Editor, HostAutomationInABlockShowsTheValueItsLinesEndAt)
{
    ASSERT_EQ(plug->initialize(nullptr), Steinberg::kResultOk);
    Steinberg::Vst::ProcessSetup setup{Steinberg::Vst::kRealtime, Steinberg::Vst::kSample32, 64, 44100.0};
    ASSERT_EQ(plug->setupProcessing(setup), Steinberg::kResultOk);
    ProbeControl* knob = Probe(0, {100, 100, 150, 200});

    // A ramp up inside the block, then a point that holds to the block's end.
    vibrascend::host::ParameterChanges changes;
    changes.Add(0, 0.9, 40);
    changes.Add(0, 0.25, 50);
    std::vector<float> in(64, 0.25f), out(64);
    ASSERT_EQ(ProcessStereo(*plug, in.data(), out.data(), 64, &changes), Steinberg::kResultOk);
    Tick();
    EXPECT_DOUBLE_EQ(knob->Value(), 0.25);
    EXPECT_DOUBLE_EQ(plug->GetParam(0)->Normalized(), 0.25);
    plug->terminate();
}
