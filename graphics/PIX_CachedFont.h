// PIX_CachedFont: a font that draws either with the platform's own text
// drawing, straight into the bitmap, or from its glyph cache: each character
// is rendered once by the platform into a shared scratch bitmap, kept as an
// 8-bit coverage map and then blended in the text colour at any opacity.
// Translucent text always goes through the glyph cache, and so does all text
// under the Wine compatibility layer.
//
// A font object is not locked: it is used by one drawing thread at a time.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "PIX_IFont.h"

class GlyphScratch;

class PIX_CachedFont final : public PIX_IFont {
public:
    // One character of the glyph cache.
    struct Glyph {
        int storeOffset = 0;  // map position in the glyph store + 1; 0 not rendered; -1 nothing to draw
        int width = 0;
        int height = 0;
        int advance = 0;  // pen movement in pixels
        char32_t code = 0;
        int leftOffset = 0;  // how far the ink starts left of the pen
    };

    PIX_CachedFont();
    ~PIX_CachedFont() override;

    void SetFont(std::unique_ptr<platform::PlatformFont> handle, int flags) override;
    std::uint32_t SetTextColour(std::uint32_t colour) override;
    std::uint32_t SetBackgroundColour(std::uint32_t colour) override;
    std::uint32_t SetEffectColour(std::uint32_t colour) override;
    int SetBackgroundMode(int mode) override;
    void SetCombineMode(int mode, float alpha) override;
    int DrawText(PIX_IBitmap* bitmap, const char* string, int count, IBox& rect, int dtFlags) override;
    std::uint32_t GetTextColour() const override { return textColour; }
    platform::PlatformFont* GetFontHandle() const override { return fontHandle.get(); }
    int GetLineHeight() const override { return lineHeight; }

    // Blends the cached glyph of `code` (rendered now if it is not yet) with
    // its pen position at (x, y), inside clip, at the font's overall alpha.
    virtual void DrawGlyph(PIX_IBitmap* bitmap, char32_t code, int x, int y, const IBox& clip);

    // The cache entry of `code`, rendered on first use.
    const Glyph& CachedGlyph(char32_t code);
    // The coverage map of a rendered entry: width x height bytes, rows top
    // to bottom; empty when the entry has none.
    std::basic_string_view<std::uint8_t> CoverageOf(const Glyph& glyph) const;

private:
    struct Extent {
        long long widest = 0;
        long long lowest = 0;
    };

    bool UsesPlatformPath(int dtFlags) const;
    int DrawWithPlatform(PIX_IBitmap* bitmap, std::string_view text, IBox& rect, int dtFlags);
    Extent Measure(std::string_view text, int dtFlags);
    int DrawFromCache(PIX_IBitmap& bitmap, std::string_view text, const IBox& rect, int dtFlags);
    Glyph& Lookup(char32_t code);
    void Render(Glyph& glyph);
    void BlendGlyph(PIX_IBitmap& bitmap, const Glyph& glyph, int x, int y, const IBox& clip, int weight) const;

    std::uint32_t textColour = 0;
    std::uint32_t backgroundColour = 0xFFFFFFFF;
    std::uint32_t effectColour = 0xFFFFFFFF;
    int backgroundMode = pix::kBackgroundTransparent;
    int combineMode = 0;
    float alpha = 1.0f;
    int flags = 0;
    int lineHeight = 0;
    std::array<Glyph, 128> lowGlyphs{};
    std::vector<Glyph> extraGlyphs;  // sorted by code
    std::vector<std::uint8_t> glyphStore;
    std::unique_ptr<platform::PlatformFont> fontHandle;
    std::shared_ptr<GlyphScratch> scratch;
};
