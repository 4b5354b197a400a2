// Where text lands: alignment inside the rectangle, the first line's top,
// line feeds, clipping at the bitmap's edges, and strings that are empty,
// very long or not well-formed UTF-8. Every case runs on both drawing
// paths: opaque text (the platform's drawing) and translucent text (the
// glyph cache).
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "TestBitmaps.h"
#include "TextDrawing.h"
#include "TextInk.h"

using testing_raster::Filled;
using testing_text::InkBounds;
using testing_text::InkCount;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;

class TextLayout : public testing::TestWithParam<int> {
protected:
    ITextStyle Style(int align) const { return ITextStyle("Arial", 15, IArgb{GetParam(), 0, 0, 0}, 0, align); }

    IBox Ink(ITextStyle style, const char* text, IBox rect, int width = 200, int height = 60) const
    {
        auto bitmap = Filled(width, height, kWhite);
        EXPECT_TRUE(pix::DrawText(*bitmap, style, text, rect));
        return InkBounds(*bitmap, kWhite);
    }

    int Width(const char* text) const
    {
        ITextStyle style = Style(ITextStyle::kAlignLeft);
        IBox rect{0, 0, 0, 0};
        EXPECT_TRUE(pix::MeasureText(style, text, rect));
        return rect.R;
    }
};

TEST_P(TextLayout, AlignsBetweenLeftAndRightEdges)
{
    const IBox rect{20, 5, 180, 25};
    const int w = Width("1000 Hz");
    ASSERT_GT(w, 20);
    const IBox left = Ink(Style(ITextStyle::kAlignLeft), "1000 Hz", rect);
    const IBox centre = Ink(Style(ITextStyle::kAlignCentre), "1000 Hz", rect);
    const IBox right = Ink(Style(ITextStyle::kAlignRight), "1000 Hz", rect);
    const IBox otherRight = Ink(Style(7), "1000 Hz", rect);
    ASSERT_FALSE(left.IsEmpty());
    EXPECT_GE(left.L, rect.L);
    EXPECT_LE(left.L, rect.L + 2);
    EXPECT_EQ(centre.L, left.L + (160 - w) / 2);
    EXPECT_EQ(right.L, left.L + (160 - w));
    EXPECT_EQ(otherRight, right);
    EXPECT_EQ(centre.W(), left.W());
    EXPECT_EQ(right.T, left.T);
}

TEST_P(TextLayout, FirstLineTopIsRectTopWhateverItsHeight)
{
    const IBox tall = Ink(Style(ITextStyle::kAlignLeft), "Hg", IBox{10, 12, 100, 58});
    const IBox flat = Ink(Style(ITextStyle::kAlignLeft), "Hg", IBox{10, 12, 100, 13});
    const IBox inverted = Ink(Style(ITextStyle::kAlignLeft), "Hg", IBox{10, 12, 100, 2});
    EXPECT_EQ(tall, flat);
    EXPECT_EQ(tall, inverted);
    EXPECT_GE(tall.T, 12);
    EXPECT_LE(tall.B, 12 + 15);
    EXPECT_GT(tall.H(), 10);  // cap height plus descender
}

TEST_P(TextLayout, TextIsNotClippedToItsRectangle)
{
    const IBox narrow = Ink(Style(ITextStyle::kAlignLeft), "Wide text", IBox{10, 10, 12, 11});
    const IBox wide = Ink(Style(ITextStyle::kAlignLeft), "Wide text", IBox{10, 10, 190, 50});
    EXPECT_EQ(narrow, wide);
    EXPECT_GT(narrow.R, 40);
}

TEST_P(TextLayout, LineFeedStartsNextLineOneLineHeightLower)
{
    ITextStyle style = Style(ITextStyle::kAlignLeft);
    auto one = Filled(60, 60, kWhite);
    auto two = Filled(60, 60, kWhite);
    ASSERT_TRUE(pix::DrawText(*one, style, "Ab", IBox{4, 3, 50, 20}));
    ASSERT_TRUE(pix::DrawText(*two, style, "Ab\r\nAb", IBox{4, 3, 50, 20}));
    const int lineHeight = style.cachedFont->GetLineHeight();
    ASSERT_EQ(lineHeight, 15);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
            const std::uint32_t expected =
                y < 3 + lineHeight ? testing_raster::At(*one, x, y) : testing_raster::At(*one, x, y - lineHeight);
            ASSERT_EQ(testing_raster::At(*two, x, y), expected) << x << "," << y;
        }
    IBox extent{4, 3, 4, 3};
    ASSERT_TRUE(pix::MeasureText(style, "Ab\nAb", extent));
    EXPECT_EQ(extent.B - extent.T, 2 * lineHeight);
    EXPECT_EQ(extent.R - extent.L, Width("Ab"));
}

TEST_P(TextLayout, AmpersandIsDrawn)
{
    EXPECT_GT(Width("a&b"), Width("ab"));
    auto with = Filled(80, 20, kWhite), without = Filled(80, 20, kWhite);
    ITextStyle style = Style(ITextStyle::kAlignLeft);
    ASSERT_TRUE(pix::DrawText(*with, style, "a&b", IBox{2, 2, 78, 18}));
    ASSERT_TRUE(pix::DrawText(*without, style, "ab", IBox{2, 2, 78, 18}));
    EXPECT_GT(InkCount(*with, kWhite), InkCount(*without, kWhite) + 10);
}

TEST_P(TextLayout, ClipsAtEveryBitmapEdge)
{
    auto whole = Filled(100, 60, kWhite);
    ITextStyle style = Style(ITextStyle::kAlignLeft);
    ASSERT_TRUE(pix::DrawText(*whole, style, "HHHH", IBox{20, 20, 100, 40}));
    // The same text pushed over the top-left and the bottom-right edges
    // keeps exactly the ink that stays inside.
    for (const auto& [dx, dy] : {std::pair{-25, -25}, std::pair{70, 35}}) {
        auto moved = Filled(100, 60, kWhite);
        ASSERT_TRUE(pix::DrawText(*moved, style, "HHHH", IBox{20 + dx, 20 + dy, 100 + dx, 40 + dy}));
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x) {
                const int sx = x - dx, sy = y - dy;
                const bool inside = sx >= 0 && sx < 100 && sy >= 0 && sy < 60;
                ASSERT_EQ(testing_raster::At(*moved, x, y), inside ? testing_raster::At(*whole, sx, sy) : kWhite)
                    << dx << ": " << x << "," << y;
            }
        EXPECT_GT(InkCount(*moved, kWhite), 0);
    }
    // Far outside: nothing drawn, nothing touched.
    EXPECT_TRUE(Ink(Style(ITextStyle::kAlignLeft), "HHHH", IBox{-5000, 10, -4000, 20}, 100, 60).IsEmpty());
    EXPECT_TRUE(Ink(Style(ITextStyle::kAlignRight), "HHHH", IBox{INT_MIN, INT_MIN, INT_MIN + 1, 0}, 100, 60).IsEmpty());
    EXPECT_TRUE(
        Ink(Style(ITextStyle::kAlignCentre), "HHHH", IBox{INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX}, 100, 60)
            .IsEmpty());
}

TEST_P(TextLayout, HugeRectanglesCentreWithoutOverflow)
{
    const IBox ink = Ink(Style(ITextStyle::kAlignCentre), "HHHH", IBox{INT_MIN, 10, INT_MAX, 30});
    EXPECT_TRUE(ink.IsEmpty() || ink.T >= 10);
}

TEST_P(TextLayout, EmptyStringDrawsNothingAndSucceeds)
{
    ITextStyle refused("Arial", 0, IArgb{GetParam(), 0, 0, 0});
    auto bitmap = Filled(20, 20, kWhite);
    EXPECT_TRUE(pix::DrawText(*bitmap, refused, "", IBox{0, 0, 20, 20}));
    EXPECT_TRUE(pix::DrawText(*bitmap, refused, nullptr, IBox{0, 0, 20, 20}));
    EXPECT_EQ(InkCount(*bitmap, kWhite), 0);
    EXPECT_FALSE(pix::DrawText(*bitmap, refused, "x", IBox{0, 0, 20, 20}));
    EXPECT_EQ(refused.cachedFont, nullptr);
}

TEST_P(TextLayout, LongStringsDrawAndMeasure)
{
    const std::string line(100000, 'x');
    const int x = Width("x");
    ASSERT_GT(x, 0);
    EXPECT_EQ(Width(line.c_str()), 100000 * x);
    const IBox ink = Ink(Style(ITextStyle::kAlignRight), line.c_str(), IBox{0, 0, 200, 20});
    EXPECT_EQ(ink.L, 0);
    EXPECT_GT(ink.R, 190);

    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += "x\n";
    ITextStyle style = Style(ITextStyle::kAlignLeft);
    IBox extent{0, 0, 0, 0};
    ASSERT_TRUE(pix::MeasureText(style, lines.c_str(), extent));
    EXPECT_GE(extent.B, 2000 * 15);
    EXPECT_FALSE(Ink(style, lines.c_str(), IBox{0, 0, 200, 20}).IsEmpty());
}

TEST_P(TextLayout, InvalidUtf8BytesDrawAsTheirOwnValue)
{
    auto asByte = Filled(60, 20, kWhite), asUtf8 = Filled(60, 20, kWhite);
    ITextStyle style = Style(ITextStyle::kAlignLeft);
    ASSERT_TRUE(pix::DrawText(*asByte, style, "a\xE9", IBox{2, 2, 58, 18}));
    ASSERT_TRUE(pix::DrawText(*asUtf8, style, "a\xC3\xA9", IBox{2, 2, 58, 18}));
    EXPECT_EQ(testing_raster::Pixels(*asByte), testing_raster::Pixels(*asUtf8));
    EXPECT_GT(InkCount(*asByte, kWhite), 0);
    // Truncated and stray sequences neither crash nor stop the rest.
    EXPECT_FALSE(Ink(style, "\xF0\x9F\x98", IBox{2, 2, 58, 18}).IsEmpty());
    EXPECT_FALSE(Ink(style, "\x80\xBF\xFF\xC0\xAF z", IBox{2, 2, 58, 18}).IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(OpaqueAndTranslucent, TextLayout, testing::Values(255, 200),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == 255 ? std::string("Opaque") : std::string("Translucent");
                         });

TEST(TextLayoutGlyphCache, FourByteCharactersAreSpaces)
{
    ITextStyle style("Arial", 15, IArgb{200, 0, 0, 0}, 0, ITextStyle::kAlignLeft);
    auto emoji = Filled(60, 20, kWhite), space = Filled(60, 20, kWhite);
    ASSERT_TRUE(pix::DrawText(*emoji, style,
                              "a\xF0\x9F\x98\x80"
                              "b",
                              IBox{2, 2, 58, 18}));
    ASSERT_TRUE(pix::DrawText(*space, style, "a b", IBox{2, 2, 58, 18}));
    EXPECT_EQ(testing_raster::Pixels(*emoji), testing_raster::Pixels(*space));
}

TEST(TextLayoutPaths, OpaqueAndTranslucentPathsPlaceInkAlike)
{
    // Full alpha through the glyph cache (the style's font prefers the
    // platform, so a font without that preference is made for comparison).
    ITextStyle opaque("Arial", 15, IArgb{255, 0, 0, 0}, 0, ITextStyle::kAlignLeft);
    auto platformDrawn = Filled(80, 20, kWhite);
    ASSERT_TRUE(pix::DrawText(*platformDrawn, opaque, "1000 Hz", IBox{3, 2, 78, 18}));
    ITextStyle nearlyOpaque("Arial", 15, IArgb{254, 0, 0, 0}, 0, ITextStyle::kAlignLeft);
    auto cacheDrawn = Filled(80, 20, kWhite);
    ASSERT_TRUE(pix::DrawText(*cacheDrawn, nearlyOpaque, "1000 Hz", IBox{3, 2, 78, 18}));
    EXPECT_EQ(opaque.cachedFont, nearlyOpaque.cachedFont);
    EXPECT_EQ(InkBounds(*platformDrawn, kWhite), InkBounds(*cacheDrawn, kWhite));
}

}  // namespace
