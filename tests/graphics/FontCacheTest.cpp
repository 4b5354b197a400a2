// The process-wide font cache: one font per face, size, style bits and
// orientation; refused styles cache nothing; face names resolve to the
// installed metric-compatible faces; lookups from many threads agree.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "FontCache.h"
#include "FontService.h"
#include "TestBitmaps.h"
#include "TextDrawing.h"

namespace {

PIX_IFont* FontFor(ITextStyle style) { return pix::FindOrCreateFont(style); }

TEST(FontCache, StylesWithTheSameKeyShareOneFont)
{
    ITextStyle knob("Arial", 15, IArgb{255, 255, 255, 255});
    ITextStyle label("Arial", 15, IArgb{100, 0, 0, 0}, 0, ITextStyle::kAlignLeft);
    ITextStyle smoother("Arial", 15, IArgb{}, 0, ITextStyle::kAlignCentre, 0, 2);
    PIX_IFont* shared = pix::FindOrCreateFont(knob);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(knob.cachedFont, shared);
    EXPECT_EQ(FontFor(label), shared);  // colour and alignment are not part of the key
    EXPECT_EQ(FontFor(smoother), shared);  // nor is quality

    const std::size_t before = FontCache::Process().Count();
    EXPECT_EQ(FontFor(ITextStyle("Arial", 15, IArgb{})), shared);
    EXPECT_EQ(FontCache::Process().Count(), before);
}

TEST(FontCache, EachKeyFieldMakesItsOwnFont)
{
    PIX_IFont* base = FontFor(ITextStyle("Arial", 15, IArgb{}));
    std::vector<PIX_IFont*> fonts{base,
                                  FontFor(ITextStyle("Arial", 16, IArgb{})),
                                  FontFor(ITextStyle("Arial", 15, IArgb{}, ITextStyle::kBold)),
                                  FontFor(ITextStyle("Arial", 15, IArgb{}, ITextStyle::kItalic)),
                                  FontFor(ITextStyle("Arial", 15, IArgb{}, 0, 1, 90)),
                                  FontFor(ITextStyle("Verdana", 15, IArgb{})),
                                  FontFor(ITextStyle("arial", 15, IArgb{}))};  // names compare case-sensitively
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        ASSERT_NE(fonts[i], nullptr) << i;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(fonts[i], fonts[j]) << i << " " << j;
    }
}

TEST(FontCache, RefusedStylesCacheNothingAndFailToDraw)
{
    const std::size_t before = FontCache::Process().Count();
    auto bitmap = testing_raster::Filled(10, 10, 0xFFFFFFFF);
    for (int size : {0, -14, platform::kMaxFontCellHeight + 1, 1 << 30}) {
        ITextStyle style("Arial", size, IArgb{});
        EXPECT_FALSE(pix::DrawText(*bitmap, style, "x", IBox{0, 0, 10, 10})) << size;
        EXPECT_EQ(style.cachedFont, nullptr);
        IBox extent{0, 0, 0, 0};
        EXPECT_FALSE(pix::MeasureText(style, "x", extent));
    }
    EXPECT_EQ(FontCache::Process().Count(), before);
    EXPECT_EQ(testing_raster::Pixels(*bitmap), std::vector<std::uint32_t>(100, 0xFFFFFFFF));
}

TEST(FontCache, FaceNamesAreCutTo31Characters)
{
    ITextStyle style;
    style.SetFace(std::string(40, 'Q'));
    EXPECT_EQ(style.Face(), std::string(31, 'Q'));
    ITextStyle unterminated;
    std::fill(std::begin(unterminated.font), std::end(unterminated.font), 'Z');
    EXPECT_EQ(unterminated.Face().size(), 32u);
    EXPECT_NE(pix::FindOrCreateFont(unterminated), nullptr);  // unknown faces fall back to a default face
}

std::string FamilyOf(const char* face, bool bold = false)
{
    platform::FontRequest request;
    request.face = face;
    request.cellHeight = 15;
    request.bold = bold;
    auto font = platform::CreatePlatformFont(request);
    return font ? font->FamilyName() : std::string("(none)");
}

TEST(FontService, FaceNamesResolveToInstalledFaces)
{
#if defined(_WIN32)
    // The system's font mapper: the faces themselves on Windows; under Wine the metric-compatible
    // replacement for Arial, and for Verdana some installed face (one that resolves to itself).
    const bool wine = platform::RunsUnderWine();
    const std::string arial = wine ? "Liberation Sans" : "Arial";
    EXPECT_EQ(FamilyOf("Arial"), arial);
    EXPECT_EQ(FamilyOf("Arial", true), arial);
    const std::string verdana = FamilyOf("Verdana");
    if (!wine) {
        EXPECT_EQ(verdana, "Verdana");
    }
    EXPECT_FALSE(verdana.empty());
    EXPECT_EQ(FamilyOf(verdana.c_str()), verdana);
#else
    EXPECT_EQ(FamilyOf("Arial"), "Liberation Sans");
    EXPECT_EQ(FamilyOf("Arial", true), "Liberation Sans");
    EXPECT_EQ(FamilyOf("Verdana"), "DejaVu Sans");
#endif
}

TEST(FontService, LineHeightIsTheRequestedCell)
{
    for (int size : {1, 9, 14, 15, 40, 255, 256, platform::kMaxFontCellHeight}) {
        platform::FontRequest request;
        request.face = "Arial";
        request.cellHeight = size;
        auto font = platform::CreatePlatformFont(request);
        ASSERT_NE(font, nullptr) << size;
#if defined(_WIN32)
        // The cell the system's mapper reports may be a pixel off the one asked for.
        EXPECT_NEAR(font->LineHeight(), size, 1);
#else
        EXPECT_EQ(font->LineHeight(), size);
#endif
    }
}

TEST(FontCacheThread, ConcurrentLookupsShareFonts)
{
    constexpr int kThreads = 6;
    constexpr int kSizes = 5;
    std::vector<std::vector<PIX_IFont*>> seen(kThreads, std::vector<PIX_IFont*>(kSizes));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &seen] {
            for (int round = 0; round < 20; ++round)
                for (int i = 0; i < kSizes; ++i) {
                    ITextStyle style(t % 2 ? "Arial" : "Verdana", 40 + i, IArgb{255, t, round, i});
                    PIX_IFont* font = pix::FindOrCreateFont(style);
                    if (round == 0)
                        seen[std::size_t(t)][std::size_t(i)] = font;
                    else if (font != seen[std::size_t(t)][std::size_t(i)])
                        seen[std::size_t(t)][std::size_t(i)] = nullptr;
                }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int i = 0; i < kSizes; ++i) {
        ASSERT_NE(seen[0][std::size_t(i)], nullptr);
        ASSERT_NE(seen[1][std::size_t(i)], nullptr);
        EXPECT_NE(seen[0][std::size_t(i)], seen[1][std::size_t(i)]);
        for (int t = 2; t < kThreads; ++t)
            EXPECT_EQ(seen[std::size_t(t)][std::size_t(i)], seen[std::size_t(t % 2)][std::size_t(i)]);
    }
}

TEST(FontCacheThread, EditorsOnTwoThreadsDrawWithTheirOwnFonts)
{
    // Different fonts drawn at once share only the glyph scratch bitmap.
    auto draw = [](int size, std::vector<std::uint32_t>* pixels) {
        ITextStyle style("Arial", size, IArgb{180, 0, 0, 0});
        auto bitmap = testing_raster::Filled(200, 60, 0xFFFFFFFF);
        for (int round = 0; round < 3; ++round)
            pix::DrawText(*bitmap, style, "0123456789 \xC3\xA9\xE2\x82\xAC Hz dB %", IBox{0, 0, 200, 60});
        *pixels = testing_raster::Pixels(*bitmap);
    };
    std::vector<std::uint32_t> a, b, aAlone;
    std::thread first(draw, 21, &a), second(draw, 22, &b);
    first.join();
    second.join();
    draw(21, &aAlone);
    EXPECT_EQ(a, aAlone);
    EXPECT_NE(a, b);
}

}  // namespace
