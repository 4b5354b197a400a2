// Partial redraws of the effect's editor: whatever region the graphics core redraws, the pixels
// must be those of a full redraw of the same state.
#include "EffectProbe.h"

#include "controls/IControl.h"
#include "controls/IDropDown.h"
#include "controls/IGraphics.h"
#include "graphics/PIX_SysBitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<std::uint32_t> BackBufferPixels(const IGraphics& editor)
{
    const PIX_SysBitmap* back = editor.BackBuffer();
    std::vector<std::uint32_t> pixels;
    if (!back)
        return pixels;
    for (int y = 0; y < editor.Height(); ++y)
        for (int x = 0; x < editor.Width(); ++x)
            pixels.push_back(back->GetBits()[static_cast<long>(y) * back->GetRowSpan() + x]);
    return pixels;
}

// Redraws region only (the dirty one when region is empty), then compares with a full redraw
// of the same state; answers the number of pixels that differ and reports the first few.
int DifferencesAfterPartialRedraw(IGraphics& editor, IBox region = IBox{})
{
    if (region.IsEmpty()) {
        EXPECT_TRUE(editor.IsDirty(region));
    }
    editor.Draw(region);
    const std::vector<std::uint32_t> partial = BackBufferPixels(editor);
    editor.Draw(IBox{0, 0, editor.Width(), editor.Height()});
    const std::vector<std::uint32_t> full = BackBufferPixels(editor);
    int differences = 0;
    for (size_t i = 0; i < full.size(); ++i) {
        if (partial[i] == full[i])
            continue;
        if (++differences <= 3)
            ADD_FAILURE() << "pixel (" << i % editor.Width() << ", " << i / editor.Width() << "): " << std::hex
                          << partial[i] << " after redrawing (" << std::dec << region.L << ", " << region.T << ", "
                          << region.R << ", " << region.B << "), " << std::hex << full[i] << " in a full redraw";
    }
    return differences;
}

const IMouseState kLeft{true, false, false, false, false};

}  // namespace

TEST(EditorRedraw, DirtyRegionsGiveTheSamePixelsAsAFullRedraw)
{
    ProbePtr probe = MakeReadyProbe();
    IGraphics& editor = *static_cast<IGraphics*>(probe->EnsureEditor());
    auto* target = dynamic_cast<IDropDown*>(editor.GetControl(7));
    ASSERT_NE(target, nullptr);
    // The LFO1 target list overlaps the top of the LFO1 knobs: closing it redraws a region that
    // cuts through the turned knob images, at every knob position.
    for (const double freq : {0.0, 0.2, 0.45, 0.5, 0.73, 1.0}) {
        for (int knob = 8; knob <= 10; ++knob)
            editor.GetControl(knob)->SetValueFromParam(freq);
        editor.Draw(IBox{0, 0, editor.Width(), editor.Height()});
        editor.OnMouseDown(100, 115, kLeft);
        editor.OnMouseUp(100, 115, kLeft);
        ASSERT_TRUE(target->IsOpen());
        EXPECT_EQ(DifferencesAfterPartialRedraw(editor), 0) << "list opened, knobs at " << freq;
        editor.OnMouseDown(100, 115, kLeft);
        editor.OnMouseUp(100, 115, kLeft);
        ASSERT_FALSE(target->IsOpen());
        EXPECT_EQ(DifferencesAfterPartialRedraw(editor), 0) << "list closed, knobs at " << freq;
    }
    // Every control's own dirty rectangle.
    for (int i = 1; i < editor.NumControls(); ++i) {
        editor.GetControl(i)->SetDirty(false);
        EXPECT_EQ(DifferencesAfterPartialRedraw(editor), 0) << "control " << i;
    }
}

TEST(EditorRedraw, RegionsCuttingThroughTurnedKnobsGiveTheSamePixels)
{
    ProbePtr probe = MakeReadyProbe();
    IGraphics& editor = *static_cast<IGraphics*>(probe->EnsureEditor());
    for (const double value : {0.0, 0.15, 0.37, 0.5, 0.81, 1.0}) {
        for (int i = 7; i < editor.NumControls(); ++i) {
            IControl& knob = *editor.GetControl(i);
            knob.SetValueFromParam(value);
            editor.Draw(IBox{0, 0, editor.Width(), editor.Height()});
            const IBox& r = knob.Rect();
            const int cx = (r.L + r.R) / 2;
            const int cy = (r.T + r.B) / 2;
            // What a closing value-entry box over the knob exposes, and the knob's quarters.
            const IBox regions[] = {{cx - 16, cy - 8, cx + 16, cy + 8},
                                    {r.L, r.T, cx, cy},
                                    {cx, r.T, r.R, cy},
                                    {r.L, cy, cx, r.B},
                                    {cx + 1, cy + 3, r.R, r.B}};
            for (const IBox& region : regions)
                EXPECT_EQ(DifferencesAfterPartialRedraw(editor, region), 0) << "control " << i << " at " << value;
        }
    }
}
