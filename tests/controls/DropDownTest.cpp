// The drop-down selector: its rectangles, the open/choose/commit cycle through the graphics core
// with the host's edit notifications, where a choice falls in a list of rows and columns, the
// face frame of each value, and presses, wheels and values that must not break it.
#include "EditorFixture.h"

#include "controls/IDropDown.h"
#include "controls/IDropDownChild.h"
#include "controls/PromptPopup.h"
#include "ParameterChanges.h"
#include "graphics/PIX_IBitmap.h"

#include <atomic>
#include <climits>
#include <limits>
#include <memory>
#include <thread>

namespace {

// A list image of the given size and number of choices, without pixels: enough to place the
// list and to find the choice under a point.
IImage Shape(int w, int h, int n) { return IImage{nullptr, w, h, n, false}; }

}  // namespace

class DropDown : public Editor {
protected:
    void SetUp() override
    {
        Editor::SetUp();
        face = graphics->LoadBitmap(107, "lfo_tg", 4);
        list = graphics->LoadBitmap(108, "lfo_tg_", 4);
    }

    IDropDown* Attach(int placement = 0, int paramIdx = 2)
    {
        auto control = std::make_unique<IDropDown>(plug, paramIdx, 87, 108, face, list, 1, placement);
        IDropDown* d = control.get();
        graphics->AttachControl(std::move(control));
        return d;
    }

    void Press(int x, int y, IMouseState mod = Left())
    {
        graphics->OnMouseDown(x, y, mod);
        graphics->OnMouseUp(x, y, mod);
    }

    // Whether the back buffer shows row `row` of face frame `frame` (1-based) where the face is:
    // every opaque pixel of that row, and there are some, appears unchanged.
    bool FaceRowShowsFrame(const IDropDown& d, int frame, int row) const
    {
        const PIX_IBitmap* image = face.bitmap;
        const std::uint32_t* src = image->GetBits() + static_cast<long>((frame - 1) * 16 + row) * image->GetRowSpan();
        int opaque = 0;
        for (int x = 0; x < face.W; ++x) {
            if (src[x] >> 24 != 0xFF)
                continue;
            ++opaque;
            if (Pixel(d.Rect().L + x, d.Rect().T + 1 + row) != src[x])
                return false;
        }
        return opaque >= 10;
    }

    IImage face;
    IImage list;
};

TEST_F(DropDown, RectanglesOfTheFaceAndOfTheListInEveryPlacement)
{
    ASSERT_EQ(face.W, 80);
    ASSERT_EQ(list.W, 90);
    ASSERT_EQ(list.H, 73);
    const struct {
        int placement;
        IBox list;
    } cases[] = {{0, {87, 124, 177, 197}}, {1, {77, 124, 167, 197}}, {2, {87, 35, 177, 108}},
                 {3, {77, 35, 167, 108}},  {7, {82, 124, 172, 197}}, {-1, {82, 124, 172, 197}}};
    for (const auto& c : cases) {
        IDropDown* d = Attach(c.placement);
        EXPECT_EQ(d->Rect(), (IBox{87, 107, 167, 125}));
        EXPECT_EQ(d->TargetRect(), d->Rect());
        d->OnMouseDown(100, 115, Left());
        ASSERT_NE(d->List(), nullptr);
        EXPECT_EQ(d->List()->Rect(), c.list) << "placement " << c.placement;
        EXPECT_EQ(graphics->GetControl(graphics->NumControls() - 1), d->List());  // topmost
        EXPECT_EQ(d->List()->ParamIdx(), -1);
    }
}

TEST_F(DropDown, PressOpensTheListARowChoosesAndTheNextFrameCommitsOneEdit)
{
    IDropDown* d = Attach();
    graphics->PushParameterToControls(2, 1.0, false);  // "Out Gain"
    Tick();
    EXPECT_TRUE(FaceRowShowsFrame(*d, 2, 5));
    const int controls = graphics->NumControls();

    Press(100, 115);  // opens; the press pushes the current value inside its own gesture
    ASSERT_NE(d->List(), nullptr);
    EXPECT_TRUE(d->IsOpen());
    EXPECT_EQ(graphics->NumControls(), controls + 1);
    EXPECT_EQ(Edits(), "B2 P2=0.333333 E2");
    Tick();

    // List top 124, rows of 73 / 4 = 18.25 pixels: y 169 is the third row, "Low Gain".
    Press(120, 169);
    EXPECT_TRUE(d->List()->IsHidden());
    EXPECT_DOUBLE_EQ(d->Value(), 2.0f / 3.0f);
    EXPECT_EQ(Edits(), "B2 P2=0.333333 E2");  // the list itself tells the host nothing
    Tick();
    EXPECT_EQ(Edits(), "B2 P2=0.333333 E2 B2 P2=0.666667 E2");
    EXPECT_DOUBLE_EQ(plug->GetParam(2)->Value(), 2.0);
    EXPECT_FALSE(d->IsOpen());
    Tick();  // the commit frame only repainted what the list covered; this one the face
    EXPECT_TRUE(FaceRowShowsFrame(*d, 3, 5));
    Tick(2);
    EXPECT_EQ(handler.Edits().size(), 6u);  // committed once

    // Reopening shows the same list again; a press below its last row keeps it open.
    Press(100, 115);
    EXPECT_FALSE(d->List()->IsHidden());
    Press(120, 197);
    EXPECT_FALSE(d->List()->IsHidden());
    EXPECT_DOUBLE_EQ(d->Value(), 2.0f / 3.0f);
    EXPECT_EQ(graphics->NumControls(), controls + 1);
}

TEST_F(DropDown, ChoosingTheShownValueClosesTheListAndTheNextPressOpensIt)
{
    IDropDown* d = Attach();
    graphics->PushParameterToControls(2, 0.0, true);
    Press(100, 115);
    Press(120, 130);  // row 0, the value it already has
    EXPECT_TRUE(d->List()->IsHidden());
    Tick();
    Press(100, 115);
    EXPECT_FALSE(d->List()->IsHidden());
    EXPECT_TRUE(d->IsOpen());
}

TEST_F(DropDown, LeftPressTogglesRightPressOnlyClosesAndOpensNoMenu)
{
    IDropDown* d = Attach();
    graphics->PushParameterToControls(2, 0.0, true);
    Press(100, 115);
    Press(100, 115);
    EXPECT_FALSE(d->IsOpen());
    EXPECT_TRUE(d->List()->IsHidden());
    EXPECT_EQ(Edits(), "B2 P2=0 E2 B2 P2=0 E2");

    Press(100, 115, Right());  // closed: stays closed
    EXPECT_TRUE(d->List()->IsHidden());
    Press(100, 115);
    Press(100, 115, Right());
    EXPECT_FALSE(d->IsOpen());
    EXPECT_TRUE(d->List()->IsHidden());
    EXPECT_EQ(graphics->Popup(), nullptr);
    EXPECT_TRUE(graphics->valueEntries.empty());

    // The wheel changes nothing; a double click goes back to the first value received.
    graphics->OnMouseWheel(100, 115, {}, 5);
    EXPECT_DOUBLE_EQ(d->Value(), 0.0);
    graphics->PushParameterToControls(2, 3.0, false);
    graphics->OnMouseDblClick(100, 115, Left());
    graphics->OnMouseUp(100, 115, Left());
    EXPECT_DOUBLE_EQ(d->Value(), 0.0);
}

TEST_F(DropDown, EscapeClosesTheOpenListWithoutAChoiceOrAnEdit)
{
    IDropDown* d = Attach();
    graphics->PushParameterToControls(2, 1.0, false);
    Press(100, 115);
    ASSERT_TRUE(d->IsOpen());
    const std::string before = Edits();
    EditorWindowEvent escape;
    escape.kind = EditorWindowEvent::Kind::Key;
    escape.entryKey = EntryKey::Escape;
    escape.x = 300;  // wherever the pointer is
    escape.y = 10;
    graphics->HandleEvent(escape);
    EXPECT_FALSE(d->IsOpen());
    EXPECT_TRUE(d->List()->IsHidden());
    Tick(2);
    EXPECT_EQ(Edits(), before);
    EXPECT_DOUBLE_EQ(d->Value(), 1.0 / 3.0);
    EXPECT_FALSE(graphics->DismissLists());  // nothing left open
    Press(100, 115);  // the next press opens it again
    EXPECT_TRUE(d->IsOpen());
}

TEST_F(DropDown, HostValuesCloseTheListButAreNeverSentBack)
{
    IDropDown* d = Attach();
    graphics->PushParameterToControls(2, 0.0, true);
    Press(100, 115);
    const size_t edits = handler.Edits().size();
    graphics->PushParameterToControls(2, 3.0, false);
    EXPECT_FALSE(d->IsOpen());
    EXPECT_TRUE(d->List()->IsHidden());
    Tick(2);
    EXPECT_EQ(handler.Edits().size(), edits);
    EXPECT_TRUE(FaceRowShowsFrame(*d, 4, 0));
}

TEST_F(DropDown, FaceShowsTheFrameOfTheValue)
{
    IDropDown* d = Attach();
    const struct {
        double value;
        int frame;
    } cases[] = {{0.0, 1}, {1.0 / 3.0, 2}, {0.5, 3}, {2.0 / 3.0, 3}, {1.0, 4}};
    for (const auto& c : cases) {
        graphics->PushParameterToControls(2, c.value, true);
        Tick();
        EXPECT_TRUE(FaceRowShowsFrame(*d, c.frame, 0)) << c.value;
        EXPECT_TRUE(FaceRowShowsFrame(*d, c.frame, 14)) << c.value;
    }
}

TEST_F(DropDown, ChoiceUnderAPointInRowsAndColumns)
{
    double value = -5.0;
    const IDropDownChild one(plug, &value, 0, 0, Shape(90, 100, 4), 1);
    EXPECT_DOUBLE_EQ(one.ChoiceAt(10, 0), 0.0);
    EXPECT_DOUBLE_EQ(one.ChoiceAt(10, 30), 1.0f / 3.0f);
    EXPECT_DOUBLE_EQ(one.ChoiceAt(10, 99), 1.0);
    EXPECT_LT(one.ChoiceAt(10, 100), 0.0);  // the bottom edge still hits the list, but no row

    const IDropDownChild two(plug, &value, 0, 0, Shape(100, 90, 5), 2);  // three rows per column
    EXPECT_DOUBLE_EQ(two.ChoiceAt(60, 5), 0.75);
    EXPECT_DOUBLE_EQ(two.ChoiceAt(40, 65), 0.5);
    EXPECT_DOUBLE_EQ(two.ChoiceAt(99, 35), 1.0);
    EXPECT_DOUBLE_EQ(two.ChoiceAt(100, 65), 0.0);  // empty last cell: beyond the last choice
    EXPECT_LT(two.ChoiceAt(60, 90), 0.0);  // bottom edge: not a row of the next column

    const IDropDownChild single(plug, &value, 0, 0, Shape(50, 20, 1), 1);
    EXPECT_DOUBLE_EQ(single.ChoiceAt(10, 10), 0.0);

    const IDropDownChild none(plug, &value, 0, 0, Shape(50, 20, 0), 3);
    const IDropDownChild flat(plug, &value, 0, 0, Shape(0, 0, 4), 1);
    const IDropDownChild noColumns(plug, &value, 0, 0, Shape(50, 40, 4), 0);
    for (int x : {INT_MIN, -1, 0, 25, 50, INT_MAX})
        for (int y : {INT_MIN, -1, 0, 19, 40, INT_MAX}) {
            EXPECT_LT(none.ChoiceAt(x, y), 0.0);
            EXPECT_LT(flat.ChoiceAt(x, y), 0.0);
            const double v = noColumns.ChoiceAt(x, y);
            EXPECT_LE(v, 1.0);
            const double w = two.ChoiceAt(x, y);
            EXPECT_LE(w, 1.0);
        }
    EXPECT_DOUBLE_EQ(noColumns.ChoiceAt(INT_MIN, INT_MIN), 0.0);  // above and left: the first row
}

TEST_F(DropDown, RightPressOnTheListChoosesNothing)
{
    IDropDown* d = Attach();
    graphics->PushParameterToControls(2, 0.0, true);
    Press(100, 115);
    Press(120, 190, Right());
    EXPECT_FALSE(d->List()->IsHidden());
    EXPECT_DOUBLE_EQ(d->Value(), 0.0);
}

TEST_F(DropDown, MissingImagesAndHostileEventsAreHarmless)
{
    auto bare = std::make_unique<IDropDown>(plug, 2, 10, 10, IImage{}, IImage{nullptr, 0, 0, 0, false}, 0, 99);
    IDropDown* b = bare.get();
    graphics->AttachControl(std::move(bare));
    auto extreme = std::make_unique<IDropDown>(plug, 2, INT_MAX, INT_MIN, face, list, INT_MAX, 2);
    IDropDown* e = extreme.get();
    graphics->AttachControl(std::move(extreme));
    EXPECT_LE(e->Rect().T, e->Rect().B);
    e->OnMouseDown(0, 0, Left());
    ASSERT_NE(e->List(), nullptr);
    e->List()->OnMouseDown(INT_MAX, INT_MIN, Left());

    IDropDown* d = Attach();
    const int coords[] = {INT_MIN, -100000, -1, 0, 87, 100, 115, 124, 169, 196, 197, 433, 480, 100000, INT_MAX};
    int i = 0;
    for (int x : coords)
        for (int y : coords) {
            const IMouseState mod = ++i % 3 == 0 ? Right() : Left();
            graphics->OnMouseDown(x, y, mod);
            graphics->OnMouseDrag(y, x, mod);
            graphics->OnMouseWheel(x, y, mod, i % 2 ? INT_MAX : INT_MIN);
            if (i % 4)
                graphics->OnMouseUp(x, y, mod);
            graphics->OnMouseOver(x, y, {});
            graphics->OnKeyDown(x, y, 1);
            if (i % 5 == 0)
                graphics->PushParameterToControls(2, std::numeric_limits<double>::quiet_NaN(), true);
            if (i % 7 == 0)
                Tick();
        }
    b->OnMouseDown(0, 0, Left());
    b->OnMouseDown(0, 0, Left());
    d->SetValueFromParam(std::numeric_limits<double>::infinity());
    Tick(2);
    EXPECT_GE(d->Value(), 0.0);
    EXPECT_LE(d->Value(), 1.0);
    EXPECT_GE(plug->GetParam(2)->Value(), 0.0);
    EXPECT_LE(plug->GetParam(2)->Value(), 3.0);
    size_t begins = 0;
    size_t ends = 0;
    for (const auto& edit : handler.Edits()) {
        begins += edit.kind == vibrascend::host::EditEvent::Kind::Begin;
        ends += edit.kind == vibrascend::host::EditEvent::Kind::End;
    }
    EXPECT_EQ(begins, ends);
}

TEST_F(DropDown, RepeatedOpeningKeepsOneListAndAMenuElsewhereStillOpens)
{
    IDropDown* d = Attach();
    Probe(3, {300, 300, 340, 340});
    plug->GetParam(3)->AddValueText(0, "a");
    plug->GetParam(3)->AddValueText(1, "b");
    plug->GetParam(3)->AddValueText(2, "c");
    const int before = graphics->NumControls();
    for (int i = 0; i < 100; ++i) {
        Press(100, 115);
        if (i % 10 == 0)
            Tick();
    }
    EXPECT_EQ(graphics->NumControls(), before + 1);
    EXPECT_NE(d->List(), nullptr);

    // A menu dismissed by a press on the selector does not swallow the next right press.
    Press(320, 320, Right());
    ASSERT_NE(graphics->Popup(), nullptr);
    Press(100, 115);
    EXPECT_EQ(graphics->Popup(), nullptr);
    Press(320, 320, Right());
    EXPECT_NE(graphics->Popup(), nullptr);
}

TEST_F(DropDown, ThreadHostValuesWhileTheEditorOpensAndChooses)
{
    IDropDown* d = Attach();
    ASSERT_EQ(plug->initialize(nullptr), Steinberg::kResultOk);
    Steinberg::Vst::ProcessSetup setup{Steinberg::Vst::kRealtime, Steinberg::Vst::kSample32, 64, 44100.0};
    ASSERT_EQ(plug->setupProcessing(setup), Steinberg::kResultOk);
    std::atomic<bool> stop{false};
    // Host automation of the selector's parameter, in process calls of no frames.
    std::thread audio([&] {
        vibrascend::host::ParameterChanges changes;
        for (int i = 0; !stop.load(); ++i) {
            changes.Clear();
            changes.Add(2, (i % 4) / 3.0);
            Steinberg::Vst::ProcessData data{};
            data.symbolicSampleSize = Steinberg::Vst::kSample32;
            data.inputParameterChanges = &changes;
            plug->process(data);
        }
    });
    for (int i = 0; i < 300; ++i) {
        Press(100, 115);
        Press(120, 130 + (i % 4) * 18);
        Tick();
    }
    stop = true;
    audio.join();
    EXPECT_GE(d->Value(), 0.0);
    EXPECT_LE(d->Value(), 1.0);
    plug->terminate();
}
