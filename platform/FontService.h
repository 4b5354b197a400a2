// The platform's font service: makes a font from a face name and a cell
// height, and draws or measures text with it straight into a 32-bit pixel
// array. The graphics layer reaches the operating system's text engine only
// through this header.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// A pixel array to draw into: A<<24 | R<<16 | G<<8 | B, top row first, row y
// at bits + y * rowSpan. context is the native device context holding the
// pixels, when the bitmap has one (fonts that draw through one use it).
struct TextSurface {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int rowSpan = 0;
    void* context = nullptr;
};

// A rectangle {left, top, right, bottom}; right and bottom are exclusive.
struct TextBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Layout options of DrawText; the values match the text flags of the
// font objects that call it.
enum TextFlag : unsigned {
    kTextCentre = 0x1,  // centre each line between left and right
    kTextRight = 0x2,  // right-align each line
    kTextVCentre = 0x4,  // centre the block between top and bottom
    kTextBottom = 0x8,  // align the block's bottom with bottom
    kTextSingleLine = 0x20,  // a line feed is drawn as a space
    kTextNoClip = 0x100,  // clip to the surface only, not to the box
    kTextMeasure = 0x400,  // set box.right and box.bottom to the extent; draw nothing
};

// Colours of a draw. The text colour's alpha is ignored: text drawn by the
// platform is opaque, its edges blended by coverage.
struct TextPaint {
    std::uint32_t textColour = 0;
    std::uint32_t backgroundColour = 0xFFFFFFFF;
    bool opaqueBackground = false;  // fill each line's cell with backgroundColour
};

// What a font is asked for. quality: 0 platform default, 1 no
// anti-aliasing, 2 anti-aliased, 3 sub-pixel; other values mean 1.
struct FontRequest {
    std::string_view face;
    int cellHeight = 0;  // ascent + descent in pixels
    int orientation = 0;  // baseline angle in degrees, counter-clockwise
    bool bold = false;
    bool italic = false;
    int quality = 0;
};

// One platform font. Not locked: a font is used by one thread at a time.
class PlatformFont {
public:
    virtual ~PlatformFont() = default;

    // Height of a character cell (one line) in pixels.
    virtual int LineHeight() const = 0;
    // Family name of the face the request was resolved to.
    virtual std::string FamilyName() const = 0;
    // Draws text (code points) into surface with its first line's top at
    // box.top, or measures it with kTextMeasure (surface may then be null).
    // Carriage returns are skipped; a line feed starts a new line. Answers
    // the height of the block.
    virtual int DrawText(const TextSurface* surface, std::span<const char32_t> text, TextBox& box, unsigned flags,
                         const TextPaint& paint) = 0;

protected:
    PlatformFont() = default;
    PlatformFont(const PlatformFont&) = delete;
    PlatformFont& operator=(const PlatformFont&) = delete;
};

// Sizes above this are refused, as are sizes below 1.
inline constexpr int kMaxFontCellHeight = 1000;

// A font for the request, or null when the platform refuses it (a size out
// of range, no usable face).
std::unique_ptr<PlatformFont> CreatePlatformFont(const FontRequest& request);

// True when the process runs under the Wine compatibility layer, whose own
// string drawing fonts do not rely on: they then draw every string from their
// glyph caches. Decided once per process.
bool RunsUnderWine();

}  // namespace platform
