// GDI fonts: the cell height asked for, measuring and drawing with the system's text drawing
// (ampersands literal, lines, alignment, clipping, colours, background modes), the same pixels
// through a surface's device context and through the font's own bitmap, and the Wine test.
#include <gtest/gtest.h>

#include <windows.h>
// The system's DrawText macro would rename the fonts' own operation.
#undef DrawText

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "FontService.h"
#include "platform/SysBitmapStorage.h"

namespace platform {
// Boxes compare field by field (found by argument lookup in the assertions).
bool operator==(const TextBox& a, const TextBox& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}  // namespace platform

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;

std::unique_ptr<platform::PlatformFont> Font(int size, int quality = 1, bool bold = false)
{
    platform::FontRequest request;
    request.face = "Arial";
    request.cellHeight = size;
    request.quality = quality;
    request.bold = bold;
    return platform::CreatePlatformFont(request);
}

// A pixel array without a device context.
struct Plain {
    Plain(int width, int height, std::uint32_t fill) : pixels(std::size_t(width) * std::size_t(height), fill)
    {
        surface = platform::TextSurface{pixels.data(), width, height, width, nullptr};
    }
    std::vector<std::uint32_t> pixels;
    platform::TextSurface surface;
};

// A pixel array in a DIB section with its device context, rows padded to a wider span.
struct InContext {
    InContext(int width, int height, std::uint32_t fill)
    {
        const int span = width + 4;
        std::uint32_t* bits = storage.Allocate(span, height);
        if (bits)
            std::fill_n(bits, std::size_t(span) * std::size_t(height), fill);
        surface = platform::TextSurface{bits, width, height, span, storage.Context()};
    }
    std::vector<std::uint32_t> Pixels() const
    {
        std::vector<std::uint32_t> rows;
        for (int y = 0; y < surface.height; ++y)
            rows.insert(rows.end(), surface.bits + y * surface.rowSpan,
                        surface.bits + y * surface.rowSpan + surface.width);
        return rows;
    }
    platform::SysBitmapStorage storage;
    platform::TextSurface surface;
};

std::u32string_view Text(const char32_t* text) { return std::u32string_view(text); }

int Draw(platform::PlatformFont& font, const platform::TextSurface* surface, const char32_t* text,
         platform::TextBox box, unsigned flags, std::uint32_t colour = 0xFF000000, std::uint32_t background = kWhite,
         bool opaque = false)
{
    const std::u32string_view view = Text(text);
    return font.DrawText(surface, std::span<const char32_t>(view.data(), view.size()), box, flags,
                         platform::TextPaint{colour, background, opaque});
}

platform::TextBox Measure(platform::PlatformFont& font, const char32_t* text, unsigned flags = 0)
{
    platform::TextBox box{5, 7, 5, 7};
    const std::u32string_view view = Text(text);
    font.DrawText(nullptr, std::span<const char32_t>(view.data(), view.size()), box, flags | platform::kTextMeasure,
                  platform::TextPaint{});
    return box;
}

// Bounding box (right and bottom exclusive) of the pixels unequal to background.
platform::TextBox Ink(const std::vector<std::uint32_t>& pixels, int width, std::uint32_t background)
{
    platform::TextBox ink{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if (pixels[i] != background) {
            const int x = int(i % std::size_t(width)), y = int(i / std::size_t(width));
            ink = platform::TextBox{std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                                    std::max(ink.bottom, y + 1)};
        }
    return ink.left == INT_MAX ? platform::TextBox{} : ink;
}

TEST(GdiFont, LineHeightIsTheCellAndSizesOutOfRangeAreRefused)
{
    for (int size : {1, 9, 15, 40, 255, 300}) {
        auto font = Font(size);
        ASSERT_NE(font, nullptr) << size;
        // The system's mapper rounds the face's ascent and descent: the cell it reports may be one
        // pixel off the one asked for.
        EXPECT_NEAR(font->LineHeight(), size, 1);
    }
    EXPECT_EQ(Font(0), nullptr);
    EXPECT_EQ(Font(-15), nullptr);
    EXPECT_EQ(Font(platform::kMaxFontCellHeight + 1), nullptr);
    EXPECT_FALSE(Font(15)->FamilyName().empty());
}

TEST(GdiFont, MeasuresLinesAndTakesAmpersandsLiterally)
{
    auto font = Font(15);
    ASSERT_NE(font, nullptr);
    const platform::TextBox h = Measure(*font, U"H");
    EXPECT_EQ(h.left, 5);
    EXPECT_EQ(h.top, 7);
    EXPECT_GT(h.right, 5);
    EXPECT_EQ(h.bottom, 7 + 15);
    const int hWidth = h.right - h.left;
    EXPECT_EQ(Measure(*font, U"HHHH").right - 5, 4 * hWidth);
    // Without prefix handling "a&b" is three characters wide, not "ab" with b underlined.
    const int ab = Measure(*font, U"ab").right, withAmpersand = Measure(*font, U"a&b").right;
    const int ampersand = Measure(*font, U"&").right - 5;
    EXPECT_GT(ampersand, 0);
    EXPECT_EQ(withAmpersand, ab + ampersand);
    // Lines: a line feed starts one, a carriage return is skipped; in a single line both are gone
    // and the line feed shows as a space.
    const platform::TextBox two = Measure(*font, U"HH\nH");
    EXPECT_EQ(two.bottom, 7 + 30);
    EXPECT_EQ(two.right - 5, 2 * hWidth);
    EXPECT_EQ(Measure(*font, U"HH\r\nH"), two);
    const platform::TextBox single = Measure(*font, U"H\nH", platform::kTextSingleLine);
    EXPECT_EQ(single.bottom, 7 + 15);
    EXPECT_EQ(single.right, Measure(*font, U"H H").right);
    EXPECT_EQ(Measure(*font, U""), (platform::TextBox{5, 7, 5, 7}));
    // Control characters the face has no glyph for take no room.
    EXPECT_EQ(Measure(*font, U"\u0001").right, 5);
    EXPECT_EQ(Measure(*font, U"A\u0001\u001FB"), Measure(*font, U"AB"));
}

TEST(GdiFont, DrawsThroughTheContextAndThroughItsOwnBitmapAlike)
{
    auto font = Font(15, 2);
    ASSERT_NE(font, nullptr);
    for (unsigned flags : {0u, unsigned(platform::kTextCentre), unsigned(platform::kTextRight),
                           unsigned(platform::kTextNoClip), unsigned(platform::kTextVCentre | platform::kTextCentre)}) {
        Plain plain(90, 40, kWhite);
        InContext context(90, 40, kWhite);
        ASSERT_NE(context.surface.bits, nullptr);
        const platform::TextBox box{6, 4, 70, 36};
        EXPECT_EQ(Draw(*font, &plain.surface, U"a&b \u00E9\u20AC", box, flags), 15) << flags;
        EXPECT_EQ(Draw(*font, &context.surface, U"a&b \u00E9\u20AC", box, flags), 15) << flags;
        EXPECT_EQ(plain.pixels, context.Pixels()) << flags;
        EXPECT_FALSE(Ink(plain.pixels, 90, kWhite) == platform::TextBox{}) << flags;
    }
}

TEST(GdiFont, PlacesTheBlockInTheBox)
{
    auto font = Font(15);
    ASSERT_NE(font, nullptr);
    const int width = Measure(*font, U"1000 Hz").right - 5;
    auto ink = [&](unsigned flags, platform::TextBox box) {
        Plain plain(200, 80, kWhite);
        Draw(*font, &plain.surface, U"1000 Hz", box, flags);
        return Ink(plain.pixels, 200, kWhite);
    };
    const platform::TextBox box{20, 10, 180, 70};
    const platform::TextBox left = ink(0, box), centre = ink(platform::kTextCentre, box),
                            right = ink(platform::kTextRight, box);
    ASSERT_GT(left.right, left.left);
    EXPECT_GE(left.left, 20);
    EXPECT_LE(left.left, 22);
    EXPECT_GE(left.top, 10);
    EXPECT_LE(left.bottom, 25);
    EXPECT_EQ(centre.left, left.left + (160 - width) / 2);
    EXPECT_EQ(right.left, left.left + (160 - width));
    EXPECT_EQ(centre.top, left.top);
    // Vertically: centred in the box, or its bottom at the box's bottom.
    const platform::TextBox middle = ink(platform::kTextVCentre, box), bottom = ink(platform::kTextBottom, box);
    EXPECT_EQ(middle.top, left.top + (60 - 15) / 2);
    EXPECT_EQ(bottom.top, left.top + 60 - 15);
    // A second line one cell lower.
    Plain two(200, 80, kWhite);
    Draw(*font, &two.surface, U"1000 Hz\n1000 Hz", box, 0);
    const platform::TextBox both = Ink(two.pixels, 200, kWhite);
    EXPECT_EQ(both.top, left.top);
    EXPECT_EQ(both.bottom, left.bottom + 15);
}

TEST(GdiFont, ClipsToTheBoxUnlessAskedNotToAndAlwaysToTheSurface)
{
    auto font = Font(15);
    ASSERT_NE(font, nullptr);
    Plain clipped(80, 30, kWhite);
    Draw(*font, &clipped.surface, U"HHHHHH", platform::TextBox{2, 2, 20, 28}, 0);
    const platform::TextBox ink = Ink(clipped.pixels, 80, kWhite);
    EXPECT_GE(ink.left, 2);
    EXPECT_LE(ink.right, 20);
    Plain unclipped(80, 30, kWhite);
    Draw(*font, &unclipped.surface, U"HHHHHH", platform::TextBox{2, 2, 20, 28}, platform::kTextNoClip);
    EXPECT_GT(Ink(unclipped.pixels, 80, kWhite).right, 40);
    // Off every edge, and far out: nothing outside the pixels is written, nothing crashes.
    Plain edges(30, 20, kWhite);
    for (platform::TextBox box :
         {platform::TextBox{-25, 5, 30, 20}, platform::TextBox{20, -10, 30, 20},
          platform::TextBox{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, platform::TextBox{INT_MAX - 5, 0, INT_MAX, 20}})
        EXPECT_EQ(Draw(*font, &edges.surface, U"HHHH", box, platform::kTextNoClip | platform::kTextCentre), 15);
    EXPECT_EQ(Draw(*font, nullptr, U"H", platform::TextBox{0, 0, 10, 10}, 0), 0);  // nowhere to draw
}

TEST(GdiFont, TextColourAndBackgroundModes)
{
    auto font = Font(40, 1, true);
    ASSERT_NE(font, nullptr);
    const std::uint32_t background = 0x80A0B0C0;
    Plain transparent(60, 50, background);
    Draw(*font, &transparent.surface, U"I", platform::TextBox{10, 5, 60, 50}, 0, 0xFF123456);
    // Without anti-aliasing every pixel is either the background or the text colour, made opaque.
    int inked = 0;
    for (std::uint32_t p : transparent.pixels) {
        ASSERT_TRUE(p == background || p == 0xFF123456u) << std::hex << p;
        inked += p == 0xFF123456u;
    }
    EXPECT_GT(inked, 40);
    // The text colour's own alpha plays no part.
    Plain translucentColour(60, 50, background);
    Draw(*font, &translucentColour.surface, U"I", platform::TextBox{10, 5, 60, 50}, 0, 0x20123456);
    EXPECT_EQ(translucentColour.pixels, transparent.pixels);
    // Opaque mode fills the cell behind the glyph with the background colour.
    Plain opaque(60, 50, background);
    Draw(*font, &opaque.surface, U"I", platform::TextBox{10, 5, 60, 50}, 0, 0xFF123456, 0xFF00FF00, true);
    int green = 0, text = 0;
    for (std::uint32_t p : opaque.pixels) {
        green += p == 0xFF00FF00u;
        text += p == 0xFF123456u;
    }
    EXPECT_EQ(text, inked);
    EXPECT_GE(green, 40 * 5);
    EXPECT_EQ(opaque.pixels[0], background);  // outside the cell
}

TEST(GdiFont, EmptyTextDrawsNothing)
{
    auto font = Font(15);
    ASSERT_NE(font, nullptr);
    Plain plain(20, 20, kWhite);
    EXPECT_EQ(Draw(*font, &plain.surface, U"", platform::TextBox{0, 0, 20, 20}, 0, 0xFF000000, 0xFF00FF00, true), 0);
    EXPECT_EQ(plain.pixels, std::vector<std::uint32_t>(400, kWhite));
}

TEST(WineTest, AnswersWhetherTheCompatibilityLayerIsPresent)
{
    // The layer's loader exports its version from ntdll; a Windows system does not.
    const bool layer = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    EXPECT_EQ(platform::RunsUnderWine(), layer);
    EXPECT_EQ(platform::RunsUnderWine(), platform::RunsUnderWine());
}

}  // namespace
