// Frames (dirty collection, redraw order, clean-up) and the drawing operations controls use,
// checked on the back buffer's pixels; images from the process-wide cache; resizing and
// destruction order.
#include "EditorFixture.h"

#include "controls/ImageCache.h"
#include "graphics/PIX_MemBitmap.h"
#include "graphics/PIX_SysBitmap.h"

#include <climits>
#include <functional>

namespace {

// A control whose drawing is given by the test.
class PaintControl : public IControl {
public:
    PaintControl(const IBox& area, std::function<void(IGraphics&)> paint) : IControl(nullptr, -1), paint(paint)
    {
        rect = area;
        targetRect = area;
    }
    bool Draw(IGraphics& g) override
    {
        paint(g);
        return true;
    }

private:
    std::function<void(IGraphics&)> paint;
};

// A strip of `frames` frames side by side, frame i filled with 0xFF000000 | (i + 1).
std::unique_ptr<PIX_MemBitmap> Strip(int frameWidth, int height, int frames)
{
    auto b = std::make_unique<PIX_MemBitmap>(frameWidth * frames, height, 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < frameWidth * frames; ++x)
            b->GetBits()[y * b->GetRowSpan() + x] = 0xFF000000u | static_cast<std::uint32_t>(x / frameWidth + 1);
    return b;
}

constexpr std::uint32_t kRed = 0xFFC80000;
constexpr std::uint32_t kBlue = 0xFF0000C8;

}  // namespace

TEST_F(Editor, DirtyRegionIsRedrawnWithEveryOverlappingControlInListOrder)
{
    ProbeControl* a = Probe(-1, {10, 10, 50, 50}, {255, 200, 0, 0}, "a");
    ProbeControl* b = Probe(-1, {40, 40, 80, 80}, {255, 0, 0, 200}, "b");
    ProbeControl* far = Probe(-1, {200, 200, 220, 220}, {255, 0, 200, 0}, "far");
    Tick(2);
    EXPECT_EQ(graphics->presented.front(), (IBox{0, 0, 434, 480}));
    const int farDraws = far->draws;
    IBox none;
    EXPECT_FALSE(graphics->IsDirty(none));

    a->SetDirty(false);
    IBox region;
    ASSERT_TRUE(graphics->IsDirty(region));
    EXPECT_EQ(region, a->Rect());
    EXPECT_TRUE(graphics->Draw(region));
    EXPECT_EQ(graphics->presented.back(), a->Rect());
    EXPECT_EQ(Pixel(20, 20), kRed);
    EXPECT_EQ(Pixel(45, 45), kBlue);  // b overlaps the region, so it is drawn over a
    EXPECT_EQ(far->draws, farDraws);
    EXPECT_EQ(b->draws, 2);
    EXPECT_FALSE(graphics->IsDirty(none));

    b->RequestRedrawWhileDrawing();
    b->SetDirty(false);
    Tick();
    EXPECT_TRUE(b->IsDirty());  // asked for a redraw while drawing: one more frame
    Tick();
    EXPECT_FALSE(b->IsDirty());
}

TEST_F(Editor, HiddenAndEmptyControlsAreCleanedButNotDrawn)
{
    ProbeControl* empty = Probe(-1, {0, 0, 0, 0});
    ProbeControl* inverted = Probe(-1, {50, 50, 10, 10});
    graphics->GetControl(0)->Hide(true);
    const std::uint32_t before = Pixel(5, 5);
    graphics->Draw({0, 0, 434, 480});
    EXPECT_EQ(Pixel(5, 5), before);
    EXPECT_EQ(empty->draws + inverted->draws, 0);
    graphics->Draw({0, 0, 434, 480});
    IBox region;
    EXPECT_FALSE(graphics->IsDirty(region));

    RecordingGraphics bare(nullptr, 10, 10, 0);
    bare.PrepareDrawing();
    EXPECT_TRUE(bare.Draw({0, 0, 10, 10}));
    EXPECT_TRUE(bare.presented.empty());
}

TEST_F(Editor, BitmapFramesAreCutFromTheStripAndClippedToTheRegion)
{
    const std::unique_ptr<PIX_MemBitmap> strip = Strip(20, 10, 5);
    const IImage image{strip.get(), 100, 10, 5, false};
    graphics->AttachControl(std::make_unique<PaintControl>(IBox{0, 0, 60, 30}, [&](IGraphics& g) {
        g.DrawBitmapFrame(image, {0, 0, 20, 10}, 3, nullptr, false);
        g.DrawBitmapFrame(image, {20, 0, 40, 10}, 1, nullptr, false);
        g.DrawBitmapFrame(image, {40, 0, 60, 10}, 99, nullptr, false);  // past the strip: the last frame
        g.DrawBitmap(image, {0, 20, 100, 30}, 0, 0, nullptr);  // wider than the region
        g.DrawBitmap(IImage{}, {0, 0, 60, 30}, 0, 0, nullptr);
        g.DrawBitmap(image, {0, 0, 10, 10}, INT_MAX, INT_MIN, nullptr);
    }));
    graphics->Draw({0, 0, 50, 30});
    EXPECT_EQ(Pixel(0, 0), 0xFF000003u);
    EXPECT_EQ(Pixel(25, 5), 0xFF000001u);
    EXPECT_EQ(Pixel(45, 5), 0xFF000005u);
    EXPECT_EQ(Pixel(49, 25), 0xFF000003u);
    EXPECT_NE(Pixel(50, 25), 0xFF000003u);  // right of the redrawn region
}

TEST_F(Editor, FillsLinesAndRoundedRectanglesStayInsideTheRegion)
{
    const IArgb white{255, 255, 255, 255};
    graphics->AttachControl(std::make_unique<PaintControl>(IBox{0, 0, 434, 480}, [&](IGraphics& g) {
        g.FillRect({255, 0, 0, 0}, {0, 0, 434, 480}, nullptr);
        g.FillRoundRect(white, {10, 10, 50, 50}, 4, 4, nullptr, false);
        g.FillRoundRect(white, {60, 10, 100, 50}, 4, 0, nullptr, false);
        g.DrawRoundRect(white, {110, 10, 150, 50}, 4, nullptr, false);
        g.DrawLine(white, 0.0f, 100.0f, 433.0f, 100.0f, nullptr, false);
        g.FillRect(white, {INT_MIN, INT_MIN, INT_MAX, 5}, nullptr);
        g.DrawRotatedBitmap(IImage{}, 0, 0, 1.0, nullptr, 0, 0);
    }));
    graphics->Draw({0, 6, 200, 90});
    EXPECT_EQ(Pixel(30, 30), 0xFFFFFFFFu);  // the rounded fill's middle
    EXPECT_EQ(Pixel(10, 10), 0xFF000000u);  // its corner stays outside the arc
    EXPECT_EQ(Pixel(80, 30), 0xFF000000u);  // corners 0 draws nothing
    EXPECT_EQ(Pixel(130, 10), 0xFFFFFFFFu);  // the outline's top edge
    EXPECT_EQ(Pixel(130, 30), 0xFF000000u);
    EXPECT_NE(Pixel(30, 100), 0xFFFFFFFFu);  // the line lies outside the region
    EXPECT_NE(Pixel(30, 3), 0xFFFFFFFFu);
    EXPECT_NE(Pixel(300, 30), 0xFF000000u);
}

TEST_F(Editor, RotatedBitmapIsCentredOnItsPosition)
{
    const std::unique_ptr<PIX_MemBitmap> strip = Strip(10, 10, 1);
    const IImage image{strip.get(), 10, 10, 1, false};
    graphics->AttachControl(std::make_unique<PaintControl>(IBox{0, 0, 434, 480}, [&](IGraphics& g) {
        g.FillRect({255, 0, 0, 0}, {0, 0, 434, 480}, nullptr);
        g.DrawRotatedBitmap(image, 100, 100, 0.0, nullptr, 0.0f, 0.0f);
        g.DrawRotatedBitmap(image, INT_MAX, INT_MIN, 0.5, nullptr, 0.0f, 0.0f);
    }));
    graphics->Draw({0, 0, 434, 480});
    EXPECT_EQ(Pixel(95, 95), 0xFF000001u);
    EXPECT_EQ(Pixel(103, 103), 0xFF000001u);
    EXPECT_EQ(Pixel(94, 100), 0xFF000000u);
    EXPECT_EQ(Pixel(105, 100), 0xFF000000u);
}

TEST_F(Editor, ImagesAreDecodedOncePerProcessAndMissingOnesAreEmpty)
{
    const IImage bg = graphics->LoadBitmap(100, "bg", 1);
    ASSERT_NE(bg.bitmap, nullptr);
    EXPECT_EQ(bg.W, 434);
    EXPECT_EQ(bg.H, 480);
    EXPECT_EQ(graphics->LoadBitmap(100, "bg", 3).bitmap, bg.bitmap);
    EXPECT_EQ(graphics->FindCachedBitmap(100).bitmap, bg.bitmap);
    EXPECT_EQ(graphics->GetControl(0)->Rect(), (IBox{0, 0, 434, 480}));

    graphics->Draw({0, 0, 434, 480});
    EXPECT_EQ(Pixel(200, 300), bg.bitmap->GetBits()[300 * bg.bitmap->GetRowSpan() + 200]);

    const IImage missing = graphics->LoadBitmap(4242, "none", 0);
    EXPECT_EQ(missing.bitmap, nullptr);
    EXPECT_EQ(missing.W + missing.H, 0);
    EXPECT_EQ(missing.N, 1);
    EXPECT_EQ(graphics->FindCachedBitmap(4242).bitmap, nullptr);
    EXPECT_EQ(graphics->FindCachedBitmap(4343).bitmap, nullptr);
}

TEST_F(Editor, ResizeAndDestructionDeleteControlsLastToFirst)
{
    Probe(-1, {0, 0, 10, 10}, {}, "a");
    Probe(-1, {0, 0, 10, 10}, {}, "b");
    graphics->OnMouseDown(5, 5, Left());
    graphics->Resize(200, 100);
    EXPECT_EQ(log, "b.down ~b ~a ");
    EXPECT_EQ(graphics->NumControls(), 0);
    EXPECT_EQ(graphics->MouseCapture(), -1);
    EXPECT_EQ(graphics->BackBuffer()->GetWidth(), 200);
    EXPECT_EQ(graphics->BackBuffer()->GetHeight(), 100);
    graphics->OnMouseUp(5, 5, Left());

    log.clear();
    Probe(-1, {0, 0, 10, 10}, {}, "c");
    Probe(-1, {0, 0, 10, 10}, {}, "d");
    plug->release();
    plug = nullptr;
    EXPECT_EQ(log, "~d ~c ");
    plug = new EditorPlugin;  // for TearDown
}

TEST_F(Editor, TextIsDrawnCentredAndClippedToTheRegion)
{
    ITextStyle style("Arial", 14, IArgb{255, 255, 255, 255});
    bool withText = false;
    bool emptyDrawn = false;
    graphics->AttachControl(std::make_unique<PaintControl>(IBox{0, 0, 434, 480}, [&](IGraphics& g) {
        g.FillRect({255, 0, 0, 0}, {0, 0, 434, 480}, nullptr);
        emptyDrawn = g.DrawText(style, "", {0, 0, 100, 20}) && g.DrawText(style, nullptr, {0, 0, 100, 20});
        if (withText)
            g.DrawText(style, "v1.1", {0, 2, 100, 20});
    }));
    graphics->Draw({0, 0, 434, 480});
    withText = true;
    graphics->Draw({0, 0, 50, 480});
    EXPECT_TRUE(emptyDrawn);
    int left = 0, right = 0, outside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            if (Pixel(x, y) != 0xFF000000u)
                (x < 30 ? outside : x < 50 ? left : right) += 1;
    EXPECT_GT(left, 10);  // the left half of the centred text
    EXPECT_EQ(right, 0);  // its right half lies outside the redrawn region
    EXPECT_EQ(outside, 0);  // centred: nothing near the left edge
}
