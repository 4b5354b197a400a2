// The rotating and filmstrip knobs driven through the graphics core: drag arithmetic and gearing,
// snapping on release, double click and wheel, hover dimming, the value text, the rotation of
// the drawn image and the frame a filmstrip shows; the rectangles the editor's layout relies on.
#include "EditorFixture.h"

#include "controls/IKnobMulti.h"
#include "controls/IKnobRotVal.h"
#include "controls/ITextControl.h"
#include "framework/IParamDef.h"
#include "graphics/PIX_MemBitmap.h"

#include <climits>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

const ITextStyle kValueStyle{"Arial", 15, IArgb{200, 255, 255, 255}, 0, ITextStyle::kAlignLeft};
constexpr IArgb kBlack{255, 0, 0, 0};

// A width x height image, transparent except for an opaque red pointer three pixels wide from
// the top edge down to a third of the height.
std::unique_ptr<PIX_MemBitmap> PointerImage(int size)
{
    auto b = std::make_unique<PIX_MemBitmap>(size, size, 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            b->GetBits()[y * b->GetRowSpan() + x] =
                (y < size / 3 && std::abs(x - size / 2) <= 1) ? 0xFFFF0000u : 0x00000000u;
    return b;
}

std::unique_ptr<PIX_MemBitmap> SolidImage(int w, int h, std::uint32_t pixel)
{
    auto b = std::make_unique<PIX_MemBitmap>(w, h, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->GetBits()[y * b->GetRowSpan() + x] = pixel;
    return b;
}

// Nine 40 x 40 frames side by side; every pixel of frame i is 0xFF000000 | (i + 1).
std::unique_ptr<PIX_MemBitmap> WaveStrip()
{
    auto b = std::make_unique<PIX_MemBitmap>(360, 40, 4);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 360; ++x)
            b->GetBits()[y * b->GetRowSpan() + x] = 0xFF000000u | static_cast<std::uint32_t>(x / 40 + 1);
    return b;
}

class Knobs : public Editor {
protected:
    // A vertical knob on parameter 0 ("Gain", -12..12 dB) centred on (100, 100); an 80-pixel
    // image makes it 100 pixels high with its text area: (71, 60, 129, 160).
    IKnobRotVal* GainKnob(int direction = 0, int steps = 0, const IImage& image = IImage{nullptr, 58, 80, 1, false})
    {
        return Attach(std::make_unique<IKnobRotVal>(plug, 0, 100, 100, image, kValueStyle, 5, 300, 4.0, 0, direction,
                                                    0.2f, true, steps));
    }

    template <class C>
    C* Attach(std::unique_ptr<C> control)
    {
        C* c = control.get();
        graphics->AttachControl(std::move(control));
        return c;
    }

    void Drag(int x, int y, int dX, int dY, const IMouseState& mod = Left())
    {
        graphics->OnMouseDown(x, y, mod);
        graphics->OnMouseDrag(x + dX, y + dY, mod);
        graphics->OnMouseUp(x + dX, y + dY, mod);
    }

    // The host's record from here on, read with NewEdits.
    void Mark() { marked = Edits(); }
    std::string NewEdits() const
    {
        const std::string all = Edits();
        const std::size_t from = std::min(all.size(), marked.empty() ? 0 : marked.size() + 1);
        return all.substr(from);
    }

    std::vector<std::uint32_t> Pixels(const IBox& r) const
    {
        std::vector<std::uint32_t> out;
        for (int y = r.T; y < r.B; ++y)
            for (int x = r.L; x < r.R; ++x)
                out.push_back(Pixel(x, y));
        return out;
    }

    std::string marked;
};

int Red(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }

}  // namespace

TEST_F(Knobs, RectanglesFollowTheImageTheWidthAndTheTextArea)
{
    const ITextStyle style = kValueStyle;
    const IImage knob{nullptr, 57, 57, 1, false};
    const IImage knob2{nullptr, 44, 44, 1, false};
    const IImage wave{nullptr, 360, 40, 9, false};
    EXPECT_EQ(IKnobRotVal(plug, 7, 48, 174, knob2, style, 5, 300, 4.0, 60, 0, 0.2f, true, 0).Rect(),
              (IBox{18, 152, 78, 216}));
    EXPECT_EQ(IKnobRotVal(plug, 8, 180, 174, knob2, style, 5, 300, 4.0, 0, 0, 0.2f, true, 0).Rect(),
              (IBox{158, 152, 202, 216}));
    EXPECT_EQ(IKnobRotVal(plug, 0, 69, 403, knob, style, 5, 300, 4.0, 0, 0, 0.2f, true, 0).Rect(),
              (IBox{40, 374, 98, 452}));
    EXPECT_EQ(IKnobMulti(plug, 6, 114, 174, wave, style, 5, 4.0, 68, 0).Rect(), (IBox{80, 154, 148, 214}));
    EXPECT_EQ(IKnobMulti(plug, 6, 114, 174, wave, style, 5, 4.0, 0, 0).Rect(), (IBox{94, 154, 134, 214}));
    // A negative gap moves the text into the knob area: no room is added below.
    const IKnobRotVal up(plug, 0, 69, 403, knob, style, -20, 300, 4.0, 0, 0, 0.2f, true, 0);
    EXPECT_EQ(up.Rect(), (IBox{40, 374, 98, 432}));
    EXPECT_EQ(up.TargetRect(), up.Rect());
    // Images without frames or size and extreme positions give a defined rectangle.
    const IKnobMulti odd(plug, 6, INT_MAX, INT_MIN, IImage{nullptr, 0, 0, 0, false}, style, 5, 4.0, 0, 0);
    EXPECT_EQ(odd.Rect(), (IBox{INT_MAX, INT_MIN, INT_MAX, INT_MIN + 20}));
}

TEST_F(Knobs, VerticalDragRaisesUpwardsAndShiftGearsTenTimesFiner)
{
    IKnobRotVal* knob = GainKnob();
    knob->SetValueFromParam(0.5);
    Drag(100, 100, 0, -10);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.525);
    Drag(100, 100, 0, -10, IMouseState{true, false, true, false, false});
    EXPECT_DOUBLE_EQ(knob->Value(), 0.5275);
    Drag(100, 100, 0, 10, IMouseState{true, false, false, true, false});  // Ctrl as well
    EXPECT_DOUBLE_EQ(knob->Value(), 0.525);
    // Every gesture is bracketed; the release pushes the value once more.
    EXPECT_EQ(Edits(), "B0 P0=0.525 P0=0.525 E0 B0 P0=0.5275 P0=0.5275 E0 B0 P0=0.525 P0=0.525 E0");
    EXPECT_NEAR(plug->GetParam(0)->Normalized(), 0.525, 1e-12);
}

TEST_F(Knobs, HorizontalDragFollowsXOnlyAndTheRangeEndsHold)
{
    IKnobRotVal* knob = GainKnob(1);
    knob->SetValueFromParam(0.5);
    Drag(100, 100, 29, -50);  // 58 pixels wide: half a width at gearing 4 is an eighth
    EXPECT_DOUBLE_EQ(knob->Value(), 0.625);
    Drag(100, 100, 0, -50);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.625);

    Mark();
    graphics->OnMouseDown(100, 100, Left());
    graphics->OnMouseDrag(5000, 100, Left());
    graphics->OnMouseDrag(9000, 100, Left());
    graphics->OnMouseDrag(INT_MAX, INT_MIN, Left());
    graphics->OnMouseUp(INT_MAX, INT_MIN, Left());
    EXPECT_EQ(knob->Value(), 1.0);
    EXPECT_EQ(NewEdits(), "B0 P0=1 P0=1 P0=1 P0=1 E0");
    knob->OnMouseDrag(0, 0, INT_MIN, 0, {});
    EXPECT_EQ(knob->Value(), 0.0);
}

TEST_F(Knobs, AKnobWithoutExtentOrGearingIgnoresDrags)
{
    auto flat =
        std::make_unique<IKnobRotVal>(plug, 0, 10, 10, IImage{}, kValueStyle, -1, 300, 4.0, 0, 0, 0.2f, true, 0);
    flat->SetValueFromParam(0.5);
    flat->OnMouseDrag(10, 10, 0, -10, {});
    EXPECT_EQ(flat->Value(), 0.5);
    IKnobRotVal stuck(plug, 0, 100, 100, IImage{nullptr, 58, 80, 1, false}, kValueStyle, 5, 300, 0.0, 0, 0, 0.2f, true,
                      0);
    stuck.SetValueFromParam(0.5);
    stuck.OnMouseDrag(100, 100, 0, -10, {});
    EXPECT_EQ(stuck.Value(), 0.5);
    EXPECT_EQ(Edits(), "");
}

TEST_F(Knobs, ReleaseSnapsToThePositionsAndAlwaysPushes)
{
    IKnobRotVal* stepped = GainKnob(0, 5);
    stepped->SetValueFromParam(0.3);
    graphics->OnMouseDown(100, 100, Left());
    graphics->OnMouseUp(100, 100, Left());
    EXPECT_DOUBLE_EQ(stepped->Value(), 0.25);
    stepped->SetValueFromParam(0.375);
    graphics->OnMouseDown(100, 100, Left());
    graphics->OnMouseUp(100, 100, Left());
    EXPECT_DOUBLE_EQ(stepped->Value(), 0.5);

    graphics->RemoveControl(stepped);
    Mark();
    IKnobRotVal* smooth = GainKnob(0, 0);
    smooth->SetValueFromParam(0.3);
    graphics->OnMouseDown(100, 100, Left());
    graphics->OnMouseUp(100, 100, Left());
    EXPECT_DOUBLE_EQ(smooth->Value(), 0.3);
    EXPECT_EQ(NewEdits(), "B0 P0=0.3 E0");

    IKnobRotVal negative(plug, 0, 100, 100, IImage{}, kValueStyle, 5, 300, 4.0, 0, 0, 0.2f, true, INT_MIN);
    negative.SetValueFromParam(0.3);
    negative.OnMouseUp(100, 100, Left());
    EXPECT_DOUBLE_EQ(negative.Value(), 0.3);
}

TEST_F(Knobs, DoubleClickRestoresTheFirstValueAndTheWheelEndsItsEditLater)
{
    IKnobRotVal* knob = GainKnob();
    knob->OnMouseDblClick(100, 100, Left());
    EXPECT_EQ(Edits(), "");  // no value received yet: nothing to restore
    knob->SetValueFromParam(0.5);
    knob->SetValueFromParam(0.8);
    graphics->OnMouseDblClick(100, 100, Left());
    graphics->OnMouseUp(100, 100, Left());
    EXPECT_DOUBLE_EQ(knob->Value(), 0.5);
    EXPECT_EQ(Edits(), "B0 P0=0.5 P0=0.5 E0");

    Mark();
    graphics->OnMouseWheel(100, 100, {}, 1);
    graphics->OnMouseWheel(100, 100, Shift(), 1);
    EXPECT_NEAR(knob->Value(), 0.511, 1e-6);
    EXPECT_EQ(NewEdits().substr(0, 9), "B0 P0=0.5");
    EXPECT_EQ(NewEdits().find("E0"), std::string::npos);
    Tick(graphics->ParamEditCountdown());
    EXPECT_TRUE(NewEdits().ends_with("E0")) << NewEdits();
}

TEST_F(Knobs, HoverDimsTheImageAndLeavingRestoresIt)
{
    Probe(-1, {60, 50, 140, 170}, kBlack);
    const auto white = SolidImage(20, 20, 0xFFFFFFFFu);
    IKnobRotVal* knob = GainKnob(0, 0, IImage{white.get(), 20, 20, 1, false});
    knob->SetValueFromParam(0.5);  // upright: the image lands unrotated
    Tick(2);
    EXPECT_EQ(Pixel(100, 100), 0xFFFFFFFFu);

    IBox none;
    EXPECT_FALSE(graphics->IsDirty(none));
    graphics->OnMouseOver(100, 100, {});
    EXPECT_TRUE(knob->IsHovered());
    EXPECT_TRUE(knob->IsDirty());
    Tick();
    EXPECT_NEAR(Red(Pixel(100, 100)), 204, 2);  // 80 % of white over black
    graphics->OnMouseOver(101, 100, {});
    EXPECT_FALSE(graphics->IsDirty(none));  // still over it: nothing to redraw
    graphics->OnMouseOver(300, 300, {});  // onto the background
    EXPECT_FALSE(knob->IsHovered());
    Tick();
    EXPECT_EQ(Pixel(100, 100), 0xFFFFFFFFu);
    // Graying fades the control's own bitmaps, not the rotated image.
    knob->SetGrayed(true);
    Tick();
    EXPECT_EQ(Pixel(100, 100), 0xFFFFFFFFu);
}

TEST_F(Knobs, RotationSpansTheSweepAboutTheCentre)
{
    Probe(-1, {170, 170, 230, 230}, kBlack);
    const auto pointer = PointerImage(31);
    auto knob = std::make_unique<IKnobRotVal>(plug, 0, 200, 200, IImage{pointer.get(), 31, 31, 1, false}, kValueStyle,
                                              5, 180, 4.0, 0, 0, 0.2f, true, 0);
    IKnobRotVal* k = Attach(std::move(knob));
    struct Case {
        double value;
        int x, y;  // a point on the pointer, 12 pixels from the centre
    };
    for (const Case c : {Case{0.5, 200, 188}, Case{1.0, 212, 200}, Case{0.0, 188, 200}}) {
        k->SetValueFromParam(c.value);
        k->SetDirty(false);
        Tick();
        EXPECT_GT(Red(Pixel(c.x, c.y)), 200) << c.value;
        EXPECT_LT(Red(Pixel(200 + (200 - c.x), 200 + (200 - c.y))), 10) << c.value;  // nothing opposite
    }
    IKnobRotVal wide(plug, 0, 0, 0, IImage{}, kValueStyle, 5, 300, 4.0, 0, 0, 0.2f, true, 0);
    wide.SetValueFromParam(0.0);
    EXPECT_NEAR(wide.Angle() * 180 / std::numbers::pi, -150.0, 1e-4);
    wide.SetValueFromParam(0.5);
    EXPECT_NEAR(wide.Angle(), 0.0, 1e-6);
    wide.SetValueFromParam(1.0);
    EXPECT_NEAR(wide.Angle() * 180 / std::numbers::pi, 150.0, 1e-4);
}

TEST_F(Knobs, ValueTextIsTheDisplayTextWithItsUnitCentredUnderTheKnob)
{
    Probe(-1, {60, 50, 140, 170}, kBlack);
    IKnobRotVal* knob = GainKnob();  // no image: only the text is drawn
    knob->SetValueFromParam(0.75);
    plug->GetParam(0)->SetFromNormalized(0.75);
    auto reference = std::make_unique<ITextControl>(plug, IBox{71, 145, 129, 160},
                                                    ITextStyle{"Arial", 15, IArgb{200, 255, 255, 255}}, "6.0dB");
    ITextControl* ref = Attach(std::move(reference));
    ref->Hide(true);
    Tick();
    const IBox area{60, 130, 140, 170};
    const std::vector<std::uint32_t> drawn = Pixels(area);
    knob->Hide(true);
    ref->Hide(false);
    Tick();
    EXPECT_EQ(drawn, Pixels(area));
    EXPECT_NE(drawn, std::vector<std::uint32_t>(drawn.size(), 0xFF000000u));
}

TEST_F(Knobs, ALongDisplayTextAndLabelAreCutToThirtyOneCharacters)
{
    plug->GetParam(3)->DefineDouble("Long", 1234567.0, 0.0, 1e30, 0.000001, "abcdefghijklmnopqrstuvwxyz");
    Probe(-1, {0, 0, 434, 100}, kBlack);
    auto knob = std::make_unique<IKnobRotVal>(plug, 3, 217, 40, IImage{nullptr, 400, 40, 1, false}, kValueStyle, 5, 300,
                                              4.0, 0, 0, 0.2f, true, 0);
    IKnobRotVal* k = Attach(std::move(knob));
    // "1234567.000000" (14) + the first 17 letters of the label.
    auto reference =
        std::make_unique<ITextControl>(plug, IBox{17, 65, 417, 80}, ITextStyle{"Arial", 15, IArgb{200, 255, 255, 255}},
                                       "1234567.000000abcdefghijklmnopq");
    ITextControl* ref = Attach(std::move(reference));
    ref->Hide(true);
    Tick();
    const IBox area{0, 60, 434, 90};
    const std::vector<std::uint32_t> drawn = Pixels(area);
    k->Hide(true);
    ref->Hide(false);
    Tick();
    EXPECT_EQ(drawn, Pixels(area));
}

TEST_F(Knobs, FilmstripShowsTheFrameOfTheValueOneFrameWide)
{
    Probe(-1, {60, 50, 170, 170}, kBlack);
    const auto strip = WaveStrip();
    auto selector = std::make_unique<IKnobMulti>(plug, 1, 114, 174 - 60, IImage{strip.get(), 360, 40, 9, false},
                                                 kValueStyle, 5, 4.0, 68, 0);
    IKnobMulti* wave = Attach(std::move(selector));
    EXPECT_EQ(wave->Rect(), (IBox{80, 94, 148, 154}));
    struct Case {
        double value;
        std::uint32_t frame;
    };
    for (const Case c : {Case{0.0, 1}, Case{1.0, 9}, Case{0.5, 5}, Case{0.0625, 2}, Case{0.06, 1}}) {
        wave->SetValueFromParam(c.value);
        wave->SetDirty(false);
        Tick();
        EXPECT_EQ(wave->Frame(), static_cast<int>(c.frame));
        EXPECT_EQ(Pixel(94, 94), 0xFF000000u | c.frame) << c.value;
        EXPECT_EQ(Pixel(133, 133), 0xFF000000u | c.frame) << c.value;
        EXPECT_EQ(Pixel(93, 100), 0xFF000000u) << c.value;  // the target is wider than the frame
        EXPECT_EQ(Pixel(134, 100), 0xFF000000u) << c.value;
        EXPECT_EQ(Pixel(114, 134), 0xFF000000u) << c.value;  // the gap above the text
    }
    // The value text ("5" of "Steps") sits in the last 15 rows.
    bool ink = false;
    for (int y = 139; y < 154; ++y)
        for (int x = 80; x < 148; ++x)
            ink = ink || Pixel(x, y) != 0xFF000000u;
    EXPECT_TRUE(ink);
}

TEST_F(Knobs, AFilmstripWithoutFramesDrawsNothingAndDoesNotFail)
{
    auto selector =
        std::make_unique<IKnobMulti>(plug, 1, 100, 100, IImage{nullptr, 0, 0, 0, false}, kValueStyle, 5, 4.0, 0, 0);
    IKnobMulti* wave = Attach(std::move(selector));
    wave->SetValueFromParam(1.0);
    EXPECT_EQ(wave->Frame(), 1);
    EXPECT_TRUE(wave->Draw(*graphics));
}
