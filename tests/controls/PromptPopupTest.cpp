// The pop-up value menu: opened by a right press on a control of a list parameter, its items,
// size and place, the choice with its edit notifications, dismissal, columns, scrolling, its
// drawn panel, and events that must not break it.
#include "EditorFixture.h"

#include "controls/PromptPopup.h"
#include "graphics/PIX_SysBitmap.h"

#include <climits>
#include <memory>
#include <string>

namespace {

std::uint32_t Channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }

}  // namespace

class Menu : public Editor {
protected:
    PromptPopup* OpenedMenu() { return dynamic_cast<PromptPopup*>(graphics->Popup()); }

    void Press(int x, int y, IMouseState mod = Left())
    {
        graphics->OnMouseDown(x, y, mod);
        graphics->OnMouseUp(x, y, mod);
    }

    // Parameter 3 becomes a list of `count` values with texts "item 0", "item 1", ...
    void MakeLongList(int count, int current)
    {
        IParamDef* p = plug->GetParam(3);
        p->DefineEnum("Long", current, count, "");
        for (int i = 0; i < count; ++i)
            p->AddValueText(i, ("item " + std::to_string(i)).c_str());
        p->SetValueClamped(current);
    }

    // A menu of `count` items made and registered by hand, acting for `owner`.
    PromptPopup* ManualMenu(int count, int columns, IControl* owner, int x = 100, int y = 100)
    {
        auto made = std::make_unique<PromptPopup>(plug, x, y, 70, columns, nullptr, nullptr, nullptr);
        PromptPopup* m = made.get();
        graphics->AttachControl(std::move(made));
        graphics->SetPopup(m);
        for (int i = 0; i < count; ++i)
            m->AddItem(("entry " + std::to_string(i)).c_str());
        m->SetParam(-1, owner);
        return m;
    }
};

TEST_F(Menu, RightPressOpensTheValueTextsCentredInsideTheEditor)
{
    ProbeControl* target = Probe(2, {200, 200, 240, 240});
    Probe(2, {0, 0, 40, 40});
    Probe(2, {420, 470, 434, 480});
    Probe(0, {100, 0, 140, 40});
    plug->GetParam(2)->SetValueClamped(2.0);

    Press(220, 220, Right());
    PromptPopup* m = OpenedMenu();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(graphics->GetControl(graphics->NumControls() - 1), m);
    EXPECT_FALSE(m->IsHidden());
    EXPECT_EQ(m->Owner(), target);
    ASSERT_EQ(m->ItemCount(), 4);
    EXPECT_STREQ(m->Item(0), "No Assign");
    EXPECT_STREQ(m->Item(3), "High Gain");
    EXPECT_EQ(m->Item(4), nullptr);
    EXPECT_EQ(m->SelectedIndex(), 2);
    EXPECT_EQ(m->ThumbLength(), 0);
    EXPECT_EQ(m->RowHeight(), 21);
    EXPECT_EQ(m->ColumnWidth(), 9 * 7 + 28);  // "High Gain" is wider than the initial 70
    EXPECT_EQ(m->Rect(), (IBox{173, 178, 268, 262}));
    EXPECT_EQ(m->TargetRect(), m->Rect());
    EXPECT_TRUE(graphics->valueEntries.empty());

    Press(20, 20, Right());  // only dismisses
    EXPECT_EQ(graphics->Popup(), nullptr);
    Press(20, 20, Right());
    ASSERT_NE(OpenedMenu(), nullptr);
    EXPECT_EQ(OpenedMenu()->Rect(), (IBox{6, 6, 101, 90}));
    Press(427, 475, Right());
    Press(427, 475, Right());
    ASSERT_NE(OpenedMenu(), nullptr);
    EXPECT_EQ(OpenedMenu()->Rect(), (IBox{333, 390, 428, 474}));

    Press(120, 20, Right());  // dismisses
    Press(120, 20, Right());  // a continuous parameter is typed in instead
    EXPECT_EQ(graphics->Popup(), nullptr);
    EXPECT_EQ(graphics->valueEntries.size(), 1u);
}

TEST_F(Menu, ChoiceSetsTheParameterInOneEditAndCloses)
{
    Probe(2, {200, 200, 240, 240}, {}, "target");
    graphics->PushParameterToControls(2, 0.0, true);
    const int controls = graphics->NumControls();
    Press(220, 220, Right());
    PromptPopup* m = OpenedMenu();
    ASSERT_NE(m, nullptr);
    const IBox r = m->Rect();

    graphics->OnMouseOver(r.L + 20, r.T + 2 * 21 + 5, {});
    EXPECT_EQ(m->HoverIndex(), 2);
    Press(r.L + 20, r.T + 2 * 21 + 5);
    EXPECT_EQ(Edits(), "B2 E2 B2 P2=0.666667 E2");
    EXPECT_DOUBLE_EQ(plug->GetParam(2)->Value(), 2.0);
    EXPECT_EQ(log, "target.down target.up target.choice(Low Gain,2) ");
    EXPECT_EQ(graphics->Popup(), nullptr);
    EXPECT_TRUE(graphics->PopupSlotEmpty());
    EXPECT_EQ(graphics->NumControls(), controls);
    EXPECT_EQ(graphics->MouseCapture(), -1);
    EXPECT_EQ(graphics->MouseOverIndex(), -1);
    Tick();
}

TEST_F(Menu, PressesThatChooseNothingLeaveItOpen)
{
    Probe(2, {200, 200, 240, 240}, {}, "target");
    Press(220, 220, Right());
    PromptPopup* m = OpenedMenu();
    ASSERT_NE(m, nullptr);
    const IBox r = m->Rect();
    Press(r.L + 20, r.T + 5, Right());  // right press inside
    Press(r.L + 20, r.B);  // bottom edge: below the last row
    graphics->OnKeyDown(r.L + 20, r.T + 5, 2);
    EXPECT_EQ(graphics->Popup(), m);
    EXPECT_EQ(log, "target.down target.up ");
    EXPECT_EQ(Edits(), "B2 E2");
}

TEST_F(Menu, PressOutsideDismissesAndRepeatedOpeningLeavesNothingBehind)
{
    Probe(2, {200, 200, 240, 240}, {}, "target");
    Probe(-1, {0, 0, 40, 40}, {}, "other");
    const int controls = graphics->NumControls();
    for (int i = 0; i < 50; ++i) {
        Press(220, 220, Right());
        ASSERT_NE(OpenedMenu(), nullptr);
        if (i % 3 == 0)
            Tick();
        Press(20, 20, i % 2 ? Left() : Right());
        EXPECT_EQ(graphics->Popup(), nullptr);
        Press(20, 20, Left());
    }
    EXPECT_EQ(graphics->NumControls(), controls);
    EXPECT_NE(log.find("target.choice(,-1) "), std::string::npos);
    EXPECT_EQ(log.find("target.choice(,-1) other.down"), log.find("target.choice(,-1) "));
}

TEST_F(Menu, EscapeDismissesWithoutAChoiceAndTheNextRightPressOpensAgain)
{
    Probe(2, {200, 200, 240, 240}, {}, "target");
    const int controls = graphics->NumControls();
    Press(220, 220, Right());
    ASSERT_NE(OpenedMenu(), nullptr);
    const std::string edits = Edits();
    EXPECT_TRUE(graphics->DismissLists());
    EXPECT_EQ(graphics->Popup(), nullptr);
    EXPECT_EQ(graphics->NumControls(), controls);
    EXPECT_NE(log.find("target.choice(,-1) "), std::string::npos);
    EXPECT_EQ(Edits(), edits);
    Press(220, 220, Right());
    EXPECT_NE(OpenedMenu(), nullptr);
}

TEST_F(Menu, ItemsOfListsAddedOutOfOrderMapToTheirOwnValues)
{
    ProbeControl* target = Probe(3, {200, 200, 240, 240});
    IParamDef* p = plug->GetParam(3);
    p->AddValueText(2, "two");
    p->AddValueText(0, "zero");
    p->AddValueText(1, "one");
    graphics->PushParameterToControls(3, 0.0, false);
    Press(220, 220, Right());
    PromptPopup* m = OpenedMenu();
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->Item(0), "two");
    EXPECT_EQ(m->SelectedIndex(), 1);  // "zero"
    Press(m->Rect().L + 20, m->Rect().T + 5);
    EXPECT_DOUBLE_EQ(p->Value(), 2.0);
    EXPECT_DOUBLE_EQ(target->Value(), 1.0);
}

TEST_F(Menu, ColumnsLayOutItemsRowByRow)
{
    ProbeControl* owner = Probe(-1, {0, 0, 40, 40}, {}, "owner");
    PromptPopup* m = ManualMenu(5, 2, owner);
    const int cw = m->ColumnWidth();
    EXPECT_EQ(cw, 7 * 7 + 28);
    EXPECT_EQ(m->Rect(), (IBox{100, 100, 100 + 2 * cw + 4, 100 + 3 * 21}));
    EXPECT_EQ(m->ThumbLength(), 0);
    graphics->OnMouseOver(100 + cw + 10, 100 + 21 + 3, {});
    EXPECT_EQ(m->HoverIndex(), 3);
    graphics->OnMouseOver(100 + cw + 10, 100 + 2 * 21 + 3, {});  // the empty sixth cell
    EXPECT_EQ(m->HoverIndex(), -1);
    Press(100 + cw + 10, 100 + 5);
    EXPECT_EQ(log, "owner.choice(entry 1,1) ");
    EXPECT_EQ(graphics->Popup(), nullptr);
}

TEST_F(Menu, NineItemsScrollByThumbTrackAndWheel)
{
    ProbeControl* owner = Probe(-1, {0, 0, 40, 40}, {}, "owner");
    PromptPopup* m = ManualMenu(9, 1, owner);
    EXPECT_EQ(m->RowsPerColumn(), 5);
    EXPECT_EQ(m->Rect().H(), 105);
    EXPECT_EQ(m->ThumbLength(), 85);
    EXPECT_EQ(m->MaxScroll(), 18);
    const IBox bar = m->ScrollBar();
    EXPECT_EQ(bar.L, m->Rect().R - 11);
    EXPECT_EQ(bar.R, m->Rect().R - 1);
    EXPECT_EQ(bar.T, m->Rect().T + 1);

    graphics->OnMouseOver(bar.L + 2, bar.T + 10, {});
    EXPECT_EQ(m->HoverIndex(), -1);
    graphics->OnMouseDown(bar.L + 2, bar.T + 10, Left());
    graphics->OnMouseDrag(bar.L + 2, bar.T + 28, Left());
    graphics->OnMouseUp(bar.L + 2, bar.T + 28, Left());
    EXPECT_EQ(m->ScrollPos(), 18);
    EXPECT_EQ(m->FirstVisible(), 4);
    graphics->OnMouseOver(m->Rect().L + 10, m->Rect().T + 5, {});
    Press(m->Rect().L + 10, m->Rect().T + 5);
    EXPECT_EQ(log, "owner.choice(entry 4,4) ");

    PromptPopup* n = ManualMenu(9, 1, owner);
    graphics->OnMouseWheel(n->Rect().L + 10, n->Rect().T + 10, {}, -1);
    EXPECT_EQ(n->ScrollPos(), 3);
    graphics->OnMouseWheel(n->Rect().L + 10, n->Rect().T + 10, {}, INT_MIN);
    EXPECT_EQ(n->ScrollPos(), 18);
    graphics->OnMouseWheel(n->Rect().L + 10, n->Rect().T + 10, {}, INT_MAX);
    EXPECT_EQ(n->ScrollPos(), 0);
    // A press on the track below the thumb centres the thumb on the pointer, then drags it.
    const IBox track = n->ScrollBar();
    graphics->OnMouseDown(track.L + 1, n->Rect().B - 3, Left());
    EXPECT_EQ(n->ScrollPos(), 18);
    graphics->OnMouseDrag(track.L + 1, n->Rect().B - 13, Left());
    EXPECT_EQ(n->ScrollPos(), 8);
    graphics->OnMouseUp(track.L + 1, n->Rect().B - 13, Left());
    Press(track.L + 1, n->Rect().T + 1, Right());  // right presses leave the scroll bar alone
    EXPECT_EQ(n->ScrollPos(), 8);
    EXPECT_EQ(graphics->Popup(), n);
}

TEST_F(Menu, RowsGrowWithTheTenthItemAndOpeningScrollsToTheChoice)
{
    PromptPopup* ten = ManualMenu(10, 1, nullptr);
    EXPECT_EQ(ten->RowsPerColumn(), 6);
    EXPECT_EQ(ten->Rect().H(), 6 * 21);

    MakeLongList(9, 8);
    Probe(3, {200, 200, 240, 240});
    Press(220, 220, Right());
    Press(220, 220, Right());  // the first press only closed the hand-made menu
    PromptPopup* m = OpenedMenu();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->SelectedIndex(), 8);
    EXPECT_EQ(m->ScrollPos(), 18);
    EXPECT_EQ(m->FirstVisible(), 4);

    MakeLongList(30, 0);  // texts appended after the first nine: 39 items
    Press(20, 20);
    Press(220, 220, Right());
    m = OpenedMenu();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->RowsPerColumn(), 8);
    EXPECT_EQ(m->ThumbLength(), 31);  // more than four pages: one and a half rows
    EXPECT_EQ(m->SelectedIndex(), 0);
    EXPECT_EQ(m->ScrollPos(), 0);
}

TEST_F(Menu, DrawsAnAntialiasedRoundedPanelWithTheChoiceHighlighted)
{
    Probe(2, {200, 200, 240, 240});
    plug->GetParam(2)->SetValueClamped(0.0);
    Tick();
    const IBox r{173, 178, 268, 262};
    const std::uint32_t corner = Pixel(r.L, r.T);
    const std::uint32_t inside = Pixel(r.L + 1, r.T + 3 * 21 + 10);
    Press(220, 220, Right());
    ASSERT_NE(OpenedMenu(), nullptr);
    ASSERT_EQ(OpenedMenu()->Rect(), r);
    Tick();

    // Fill A 245 grey 50 over what was there.
    const std::uint32_t fill = Pixel(r.L + 1, r.T + 3 * 21 + 10);
    for (int shift : {0, 8, 16}) {
        const int expected = (50 * 245 + static_cast<int>(Channel(inside, shift)) * 10) / 255;
        EXPECT_NEAR(static_cast<int>(Channel(fill, shift)), expected, 2);
    }
    EXPECT_EQ(Pixel(r.L, r.T), corner);  // outside the rounded corner
    // Somewhere on the corner's arc a pixel is only partly covered.
    bool partial = false;
    for (int y = r.T; y < r.T + 4; ++y)
        for (int x = r.L; x < r.L + 4; ++x) {
            const int c = static_cast<int>(Channel(Pixel(x, y), 8));
            const int lo = std::min(static_cast<int>(Channel(fill, 8)), static_cast<int>(Channel(corner, 8)));
            const int hi = std::max(static_cast<int>(Channel(fill, 8)), static_cast<int>(Channel(corner, 8)));
            partial = partial || (c > lo + 2 && c < hi - 2);
        }
    EXPECT_TRUE(partial);
    // The choice's cell (row 0) is lighter than the plain panel, the third row is not.
    const std::uint32_t chosen = Pixel(r.L + 88, r.T + 10);
    const std::uint32_t plain = Pixel(r.L + 88, r.T + 2 * 21 + 10);
    EXPECT_GT(Channel(chosen, 8), Channel(plain, 8) + 20);
    EXPECT_NEAR(static_cast<int>(Channel(plain, 8)), static_cast<int>(Channel(fill, 8)), 2);

    // Hovering the third row lights it.
    graphics->OnMouseOver(r.L + 20, r.T + 2 * 21 + 5, {});
    Tick();
    EXPECT_GT(Channel(Pixel(r.L + 88, r.T + 2 * 21 + 10), 8), Channel(plain, 8) + 10);
}

TEST_F(Menu, HostileConstructionAndEventsAreHarmless)
{
    ProbeControl* owner = Probe(-1, {0, 0, 40, 40});
    ITextStyle huge;
    huge.size = INT_MAX;
    IArgb colour{999, -5, 300, 0};
    auto odd = std::make_unique<PromptPopup>(plug, INT_MAX, INT_MIN, INT_MIN, 0, &huge, &colour, &colour);
    PromptPopup* o = odd.get();
    graphics->AttachControl(std::move(odd));
    for (int i = 0; i < 45; ++i)
        o->AddItem(i % 2 ? nullptr : "a very long item text that is certainly cut at thirty-one");
    EXPECT_EQ(std::string(o->Item(0)).size(), 31u);
    o->SetParam(-1, owner);
    o->MoveTo(INT_MIN, INT_MAX);
    for (int v : {INT_MIN, -1, 0, 1, INT_MAX}) {
        o->OnMouseOver(v, ~v, {});
        o->OnMouseWheel(v, v, {}, v);
        o->OnMouseDrag(v, v, v, v, Left());
        o->OnMouseDown(v, v, Left());
        o->OnMouseUp(v, v, Left());
    }
    auto wide = std::make_unique<PromptPopup>(plug, -5, 10, INT_MAX, INT_MAX, nullptr, nullptr, nullptr);
    wide->AddItem("x");
    wide->AddItem("y");
    graphics->AttachControl(std::move(wide));
    Tick();

    PromptPopup* m = ManualMenu(20, 3, owner, -50, 470);
    const int coords[] = {INT_MIN, -1, 0, 100, 200, 300, 433, 479, 480, INT_MAX};
    for (int x : coords)
        for (int y : coords) {
            graphics->OnMouseOver(x, y, {});
            graphics->OnMouseWheel(x, y, {}, y);
            graphics->OnKeyDown(x, y, 0);
            graphics->OnMouseDrag(x, y, Left());
        }
    ASSERT_EQ(graphics->Popup(), m);
    Tick();
    m->OnMouseDown(INT_MIN, INT_MIN, Left());
    m->OnMouseOut();
    EXPECT_EQ(m->HoverIndex(), -2);
    Press(433, 0);
    EXPECT_EQ(graphics->Popup(), nullptr);
    Tick();
}
