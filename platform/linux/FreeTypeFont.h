// A platform font on Linux: one FreeType face at a fixed cell height, with
// the glyphs it has rasterised kept as coverage maps so that drawing the
// same text again only blends pixels. Lays out lines and aligns them the way
// the graphics layer's text flags ask.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "FontLibrary.h"
#include "FontService.h"

namespace platform {

class FreeTypeFont final : public PlatformFont {
public:
    // Takes ownership of face; null when the face cannot be sized.
    static std::unique_ptr<FreeTypeFont> Create(std::shared_ptr<FontLibrary> library, FT_Face face,
                                                const FontRequest& request, bool antialias);
    ~FreeTypeFont() override;

    int LineHeight() const override { return lineHeight; }
    std::string FamilyName() const override;
    int DrawText(const TextSurface* surface, std::span<const char32_t> text, TextBox& box, unsigned flags,
                 const TextPaint& paint) override;

private:
    // A rasterised glyph: its coverage map in `coverage` (rows top to
    // bottom), placed relative to the pen on the baseline.
    struct GlyphImage {
        bool loaded = false;
        int left = 0, top = 0;  // ink origin: pen.x + left, baseline - top
        int width = 0, height = 0;
        int advance = 0;  // pixels along the baseline
        long advanceX = 0, advanceY = 0;  // pen movement, 1/64 pixel, y upwards
        std::size_t offset = 0;  // start of the map in coverage
    };

    FreeTypeFont(std::shared_ptr<FontLibrary> library, FT_Face face, const FontRequest& request, bool antialias);
    bool SetSize(int cellHeight);

    const GlyphImage& Glyph(char32_t code);
    void Rasterise(char32_t code, GlyphImage& image);
    int LineWidth(std::span<const char32_t> line, bool singleLine);
    void BlendImage(const TextSurface& surface, const GlyphImage& image, int x, int y, const TextBox& clip,
                    std::uint32_t colour) const;

    std::shared_ptr<FontLibrary> library;
    FT_Face face;
    bool synthBold = false;
    bool synthItalic = false;
    bool antialias = true;
    int orientation = 0;
    double cosine = 1.0, sine = 0.0;
    int lineHeight = 0;
    int ascent = 0;
    std::array<GlyphImage, 128> lowGlyphs{};
    std::unordered_map<char32_t, GlyphImage> extraGlyphs;
    std::vector<std::uint8_t> coverage;
};

}  // namespace platform
