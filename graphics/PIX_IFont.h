// PIX_IFont: a font that draws or measures UTF-8 text into a raster bitmap,
// and the text-flag and font-flag values its operations take.
#pragma once

#include <cstdint>
#include <memory>

#include "IBox.h"
#include "PIX_IBitmap.h"

namespace platform {
class PlatformFont;
}

namespace pix {
// DrawText flags.
inline constexpr int kTextCentre = 0x1;  // centre horizontally in the rectangle
inline constexpr int kTextRight = 0x2;  // align right
inline constexpr int kTextVCentre = 0x4;  // centre vertically
inline constexpr int kTextBottom = 0x8;  // align the bottom
inline constexpr int kTextSingleLine = 0x20;  // a line feed is drawn as a space
inline constexpr int kTextNoClip = 0x100;  // clip to the bitmap only
inline constexpr int kTextMeasure = 0x400;  // set rect.R and rect.B to the extent, draw nothing
inline constexpr int kTextUseAlpha = 0x40000000;  // apply the text colour's alpha
// Font flags.
inline constexpr int kFontOwnsHandle = 0x200;  // the font object deletes its platform font
inline constexpr int kFontPreferPlatform = 0x400;  // draw with the platform's text drawing when it can
// Background modes.
inline constexpr int kBackgroundTransparent = 1;
inline constexpr int kBackgroundOpaque = 2;
}  // namespace pix

class PIX_IFont {
public:
    virtual ~PIX_IFont() = default;

    // Wraps a new platform font (the old one is deleted), keeps flags, reads
    // the line height and empties whatever was cached for the old font.
    virtual void SetFont(std::unique_ptr<platform::PlatformFont> handle, int flags) = 0;
    // Setters answer the previous value.
    virtual std::uint32_t SetTextColour(std::uint32_t colour) = 0;
    virtual std::uint32_t SetBackgroundColour(std::uint32_t colour) = 0;
    virtual std::uint32_t SetEffectColour(std::uint32_t colour) = 0;
    virtual int SetBackgroundMode(int mode) = 0;
    virtual void SetCombineMode(int mode, float alpha) = 0;
    // Draws `count` bytes of UTF-8 `string` (-1: up to its terminator) into
    // bitmap, or measures it with pix::kTextMeasure (bitmap may then be null).
    // Answers the height of the text block.
    virtual int DrawText(PIX_IBitmap* bitmap, const char* string, int count, IBox& rect, int dtFlags) = 0;
    virtual std::uint32_t GetTextColour() const = 0;
    virtual platform::PlatformFont* GetFontHandle() const = 0;
    virtual int GetLineHeight() const = 0;

protected:
    PIX_IFont() = default;
    PIX_IFont(const PIX_IFont&) = delete;
    PIX_IFont& operator=(const PIX_IFont&) = delete;
};
