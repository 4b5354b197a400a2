// The glyph cache: coverage maps as rendered once per character, and the
// exact pixels translucent (and full-opacity cached) text blends from them.
#include <gtest/gtest.h>

#include <algorithm>

#include "FontService.h"
#include "PIX_CachedFont.h"
#include "TestBitmaps.h"
#include "TextDrawing.h"
#include "TextInk.h"

using testing_raster::At;
using testing_raster::Filled;

namespace {

PIX_CachedFont& FontOf(ITextStyle& style)
{
    PIX_IFont* font = pix::FindOrCreateFont(style);
    EXPECT_NE(font, nullptr);
    return *static_cast<PIX_CachedFont*>(font);
}

// A font of its own (not from the cache) that never prefers the platform.
std::unique_ptr<PIX_CachedFont> CacheOnlyFont(int size)
{
    platform::FontRequest request;
    request.face = "Arial";
    request.cellHeight = size;
    auto font = std::make_unique<PIX_CachedFont>();
    font->SetFont(platform::CreatePlatformFont(request), pix::kFontOwnsHandle);
    return font;
}

int Ch(std::uint32_t p, int shift) { return int((p >> shift) & 0xFF); }

// The expected pixel after blending text colour f at coverage c, opacity m.
std::uint32_t Expected(std::uint32_t d, std::uint32_t f, int c, int m)
{
    if (c == 0)
        return d;
    std::uint32_t out = 0;
    if (m == 256) {
        out |= std::uint32_t(255 - (255 - Ch(d, 24)) * (255 - c) / 256) << 24;
        for (int shift : {16, 8, 0})
            out |= std::uint32_t((Ch(d, shift) - Ch(f, shift)) * (255 - c) / 256 + Ch(f, shift)) << shift;
    } else {
        const int k = 256 - std::min(m * c / 256, 256);
        out |= std::uint32_t(255 - (255 - Ch(d, 24)) * k / 256) << 24;
        for (int shift : {16, 8, 0})
            out |= std::uint32_t(Ch(f, shift) + (Ch(d, shift) - Ch(f, shift)) * k / 256) << shift;
    }
    return out;
}

// Draws one glyph with its pen at (penX, penY) and checks every pixel of
// the bitmap against the coverage map and the blend formulas.
void CheckBlend(PIX_CachedFont& font, PIX_IBitmap& bitmap, std::uint32_t background, std::uint32_t colour,
                const PIX_CachedFont::Glyph& glyph, int penX, int penY, int m)
{
    const auto map = font.CoverageOf(glyph);
    ASSERT_EQ(map.size(), std::size_t(glyph.width * glyph.height));
    for (int y = 0; y < bitmap.GetHeight(); ++y)
        for (int x = 0; x < bitmap.GetWidth(); ++x) {
            const int mx = x - (penX - glyph.leftOffset), my = y - penY;
            const bool inside = mx >= 0 && mx < glyph.width && my >= 0 && my < glyph.height;
            const int c = inside ? map[std::size_t(my * glyph.width + mx)] : 0;
            ASSERT_EQ(At(bitmap, x, y), Expected(background, colour, c, m)) << x << "," << y << " c " << c;
        }
}

TEST(GlyphCache, CoverageMapOfACharacter)
{
    ITextStyle style("Arial", 15, IArgb{200, 0, 0, 0});
    PIX_CachedFont& font = FontOf(style);
    const PIX_CachedFont::Glyph h = font.CachedGlyph(U'H');
    ASSERT_GT(h.storeOffset, 0);
    EXPECT_EQ(h.code, U'H');
    EXPECT_EQ(h.height, font.GetLineHeight());
    EXPECT_GE(h.leftOffset, 0);
    EXPECT_GE(h.width, h.advance);
    // The advance is the platform's measured width of the character.
    IBox measured{0, 0, 0, 0};
    ITextStyle opaque("Arial", 15, IArgb{255, 0, 0, 0}, 0, ITextStyle::kAlignLeft);
    ASSERT_TRUE(pix::MeasureText(opaque, "H", measured));
    EXPECT_EQ(h.advance, measured.R);
    // Two strong stems joined by a full-coverage bar, and blank rows above
    // the capital and below the baseline.
    const auto map = font.CoverageOf(h);
    int stems = 0, longestBar = 0;
    for (int x = 0; x < h.width; ++x) {
        int strong = 0;
        for (int y = 0; y < h.height; ++y)
            strong += map[std::size_t(y * h.width + x)] >= 200;
        stems += strong >= 8;
    }
    for (int y = 0; y < h.height; ++y)
        longestBar = std::max<int>(
            longestBar, int(std::count(map.begin() + y * h.width, map.begin() + (y + 1) * h.width, std::uint8_t(255))));
    EXPECT_EQ(stems, 2);
    EXPECT_GE(longestBar, 5);
    EXPECT_TRUE(std::all_of(map.begin(), map.begin() + h.width, [](std::uint8_t c) { return c == 0; }));
    EXPECT_TRUE(std::all_of(map.end() - h.width, map.end(), [](std::uint8_t c) { return c == 0; }));
    // Rendered once: the same entry, the same map.
    const PIX_CachedFont::Glyph again = font.CachedGlyph(U'H');
    EXPECT_EQ(again.storeOffset, h.storeOffset);
}

TEST(GlyphCache, SpacesKeepAnEmptyMapAndControlCharactersNothing)
{
    ITextStyle style("Arial", 15, IArgb{200, 0, 0, 0});
    PIX_CachedFont& font = FontOf(style);
    const PIX_CachedFont::Glyph space = font.CachedGlyph(U' ');
    ASSERT_GT(space.storeOffset, 0);
    EXPECT_GT(space.advance, 0);
    const auto map = font.CoverageOf(space);
    EXPECT_TRUE(std::all_of(map.begin(), map.end(), [](std::uint8_t c) { return c == 0; }));
    const PIX_CachedFont::Glyph control = font.CachedGlyph(char32_t(1));
    EXPECT_EQ(control.storeOffset, -1);
    EXPECT_EQ(control.advance, 0);
    // A character with nothing to draw does not move the pen.
    auto with = Filled(60, 20, 0xFFFFFFFF), without = Filled(60, 20, 0xFFFFFFFF);
    ASSERT_TRUE(pix::DrawText(*with, style,
                              "A\x01"
                              "B",
                              IBox{2, 2, 58, 18}));
    ASSERT_TRUE(pix::DrawText(*without, style, "AB", IBox{2, 2, 58, 18}));
    EXPECT_EQ(testing_raster::Pixels(*with), testing_raster::Pixels(*without));
}

TEST(GlyphCache, CharactersAbove127AreFoundInAnyOrder)
{
    ITextStyle style("Arial", 15, IArgb{200, 0, 0, 0});
    PIX_CachedFont& font = FontOf(style);
    const char32_t codes[] = {U'\u20AC', U'\u00E9', U'\u0416', U'\u03A9', U'\u00B0', U'\u00FC'};
    std::vector<PIX_CachedFont::Glyph> first;
    for (char32_t code : codes)
        first.push_back(font.CachedGlyph(code));
    for (int i = 5; i >= 0; --i) {
        const PIX_CachedFont::Glyph glyph = font.CachedGlyph(codes[i]);
        EXPECT_EQ(glyph.code, codes[i]);
        EXPECT_EQ(glyph.storeOffset, first[std::size_t(i)].storeOffset);
        EXPECT_GT(glyph.storeOffset, 0);
    }
}

TEST(GlyphCache, TranslucentTextBlendsByTheFormula)
{
    struct Case {
        int alpha;
        int m;  // trunc(alpha / 255 * 256)
        std::uint32_t background;
    };
    for (const Case& c : {Case{200, 200, 0xFF3070B0}, Case{100, 100, 0xFF3070B0}, Case{200, 200, 0x00000000},
                          Case{100, 100, 0x80FFFFFF}}) {
        ITextStyle style("Arial", 15, IArgb{c.alpha, 255, 255, 0}, 0, ITextStyle::kAlignLeft);
        PIX_CachedFont& font = FontOf(style);
        auto bitmap = Filled(24, 20, c.background);
        ASSERT_TRUE(pix::DrawText(*bitmap, style, "H", IBox{5, 2, 24, 20}));
        const PIX_CachedFont::Glyph h = font.CachedGlyph(U'H');
        CheckBlend(font, *bitmap, c.background, style.colour.Pack(), h, 5, 2, c.m);
    }
}

TEST(GlyphCache, FullCoverageAtAlpha200GivesKnownPixel)
{
    ITextStyle style("Arial", 15, IArgb{200, 255, 255, 0}, 0, ITextStyle::kAlignLeft);
    PIX_CachedFont& font = FontOf(style);
    const PIX_CachedFont::Glyph h = font.CachedGlyph(U'H');
    const auto map = font.CoverageOf(h);
    const auto full = std::find(map.begin(), map.end(), std::uint8_t(255));
    ASSERT_NE(full, map.end());
    const int index = int(full - map.begin());
    auto bitmap = Filled(24, 20, 0x003070B0);
    ASSERT_TRUE(pix::DrawText(*bitmap, style, "H", IBox{5, 2, 24, 20}));
    // Text (255, 255, 0) over (48, 112, 176) with alpha 0, k = 256 - 200 * 255 / 256 = 57:
    // R 255 - 11799 / 256 = 209, G 255 - 8151 / 256 = 224, B 10032 / 256 = 39,
    // alpha 255 - 14535 / 256 = 199.
    EXPECT_EQ(At(*bitmap, 5 - h.leftOffset + index % h.width, 2 + index / h.width), 0xC7D1E027u);
}

TEST(GlyphCache, OpaqueTextTakesTheCacheUnderWineAndThePlatformElsewhere)
{
    ITextStyle style("Arial", 24, IArgb{255, 20, 40, 60}, 0, ITextStyle::kAlignLeft, 0, 2);
    PIX_CachedFont& font = FontOf(style);
    ASSERT_NE(font.GetFontHandle(), nullptr);
    const std::uint32_t background = 0xFFF0E0D0, colour = style.colour.Pack();
    auto drawn = Filled(40, 32, background);
    ASSERT_TRUE(pix::DrawText(*drawn, style, "e", IBox{5, 2, 40, 32}));
    // The platform's own drawing of the same text, and the cache's blend of it.
    auto direct = Filled(40, 32, background);
    const platform::TextSurface surface{direct->GetBits(), direct->GetWidth(), direct->GetHeight(),
                                        direct->GetRowSpan(), direct->GetDC()};
    const char32_t e[] = {U'e'};
    platform::TextBox box{5, 2, 40, 32};
    font.GetFontHandle()->DrawText(&surface, e, box, platform::kTextNoClip, platform::TextPaint{colour});
    auto blended = Filled(40, 32, background);
    font.DrawGlyph(blended.get(), U'e', 5, 2, IBox{0, 0, 40, 32});
    // The two differ where the curves are partly covered, so the pixels tell the paths apart.
    ASSERT_NE(testing_raster::Pixels(*direct), testing_raster::Pixels(*blended));
    if (platform::RunsUnderWine())
        EXPECT_EQ(testing_raster::Pixels(*drawn), testing_raster::Pixels(*blended));
    else
        EXPECT_EQ(testing_raster::Pixels(*drawn), testing_raster::Pixels(*direct));
}

TEST(GlyphCache, FullOpacityThroughTheCacheBlendsByTheFormula)
{
    auto font = CacheOnlyFont(15);
    font->SetTextColour(0xFF102030);
    auto bitmap = Filled(24, 20, 0xFFF0E0D0);
    IBox rect{4, 1, 24, 20};
    EXPECT_EQ(font->DrawText(bitmap.get(), "H", -1, rect, pix::kTextNoClip), 15);
    CheckBlend(*font, *bitmap, 0xFFF0E0D0, 0xFF102030, font->CachedGlyph(U'H'), 4, 1, 256);
}

TEST(GlyphCache, ZeroOpacityDrawsNothing)
{
    auto font = CacheOnlyFont(15);
    auto bitmap = Filled(24, 20, 0xFFFFFFFF);
    IBox rect{0, 0, 24, 20};
    font->SetTextColour(0x00000000);
    EXPECT_EQ(font->DrawText(bitmap.get(), "H", -1, rect, pix::kTextUseAlpha), 0);
    font->SetTextColour(0xFF000000);
    font->SetCombineMode(0, 0.0f);
    EXPECT_EQ(font->DrawText(bitmap.get(), "H", -1, rect, 0), 0);
    font->SetCombineMode(0, -1.0f);
    EXPECT_EQ(font->DrawText(bitmap.get(), "H", -1, rect, 0), 0);
    EXPECT_EQ(testing_text::InkCount(*bitmap, 0xFFFFFFFF), 0);
}

TEST(GlyphCache, ClipsToTheRectangleUnlessAskedNotTo)
{
    auto font = CacheOnlyFont(15);
    font->SetTextColour(0xFF000000);
    auto clipped = Filled(60, 20, 0xFFFFFFFF);
    IBox rect{2, 2, 14, 18};
    font->DrawText(clipped.get(), "HHHH", -1, rect, 0);
    const IBox ink = testing_text::InkBounds(*clipped, 0xFFFFFFFF);
    EXPECT_GE(ink.L, 2);
    EXPECT_LE(ink.R, 14);
    auto unclipped = Filled(60, 20, 0xFFFFFFFF);
    font->DrawText(unclipped.get(), "HHHH", -1, rect, pix::kTextNoClip);
    EXPECT_GT(testing_text::InkBounds(*unclipped, 0xFFFFFFFF).R, 30);
}

TEST(GlyphCache, CountLimitsTheBytesDrawn)
{
    auto font = CacheOnlyFont(15);
    IBox all{0, 0, 0, 0}, two{0, 0, 0, 0}, cut{0, 0, 0, 0};
    font->DrawText(nullptr, "HHHH", -1, all, pix::kTextMeasure);
    font->DrawText(nullptr, "HHHH", 2, two, pix::kTextMeasure);
    font->DrawText(nullptr, "H\xC3\xA9", 2, cut, pix::kTextMeasure);  // a sequence cut by count
    EXPECT_EQ(two.R * 2, all.R);
    EXPECT_GT(cut.R, font->CachedGlyph(U'H').advance);
    EXPECT_EQ(font->DrawText(nullptr, "H", -1, all, 0), 0);  // no bitmap, not measuring
}

TEST(GlyphCache, SetFontEmptiesTheCache)
{
    auto font = CacheOnlyFont(15);
    EXPECT_EQ(font->CachedGlyph(U'H').height, 15);
    EXPECT_EQ(font->CachedGlyph(U'\u00E9').height, 15);
    platform::FontRequest request;
    request.face = "Arial";
    request.cellHeight = 30;
    font->SetFont(platform::CreatePlatformFont(request), pix::kFontOwnsHandle);
    EXPECT_EQ(font->GetLineHeight(), 30);
    EXPECT_EQ(font->CachedGlyph(U'H').height, 30);
    EXPECT_EQ(font->CachedGlyph(U'\u00E9').height, 30);
}

TEST(GlyphCache, TallFontsUseTheCacheUpTo255AndThePlatformAbove)
{
    auto tall = CacheOnlyFont(200);
    const PIX_CachedFont::Glyph w = tall->CachedGlyph(U'W');
    ASSERT_GT(w.storeOffset, 0);
    EXPECT_EQ(w.height, 200);
    ITextStyle huge("Arial", 300, IArgb{100, 0, 0, 0}, 0, ITextStyle::kAlignLeft);
    ITextStyle hugeOpaque("Arial", 300, IArgb{255, 0, 0, 0}, 0, ITextStyle::kAlignLeft);
    auto translucent = Filled(300, 320, 0xFFFFFFFF), opaque = Filled(300, 320, 0xFFFFFFFF);
    ASSERT_TRUE(pix::DrawText(*translucent, huge, "W", IBox{0, 0, 300, 320}));
    ASSERT_TRUE(pix::DrawText(*opaque, hugeOpaque, "W", IBox{0, 0, 300, 320}));
    EXPECT_EQ(testing_raster::Pixels(*translucent), testing_raster::Pixels(*opaque));
    EXPECT_EQ(static_cast<PIX_CachedFont*>(huge.cachedFont)->CachedGlyph(U'W').storeOffset, -1);
}

}  // namespace
