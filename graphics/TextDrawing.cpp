#include "TextDrawing.h"

#include "FontCache.h"

namespace pix {

namespace {

// Text flags for a style: never clipped to the rectangle, alpha applied
// when the colour is translucent, aligned as the style says.
int FlagsFor(const ITextStyle& text)
{
    int flags = kTextNoClip;
    if (text.colour.A < 255)
        flags |= kTextUseAlpha;
    if (text.align == ITextStyle::kAlignCentre)
        flags |= kTextCentre;
    else if (text.align != ITextStyle::kAlignLeft)
        flags |= kTextRight;
    return flags;
}

}  // namespace

PIX_IFont* FindOrCreateFont(ITextStyle& text)
{
    if (!text.cachedFont)
        text.cachedFont = FontCache::Process().FindOrCreate(text);
    return text.cachedFont;
}

bool DrawText(PIX_IBitmap& bitmap, ITextStyle& text, const char* string, const IBox& rect)
{
    if (!string || !*string)
        return true;
    PIX_IFont* font = FindOrCreateFont(text);
    if (!font)
        return false;
    font->SetTextColour(text.colour.Pack());
    IBox box = rect;
    font->DrawText(&bitmap, string, -1, box, FlagsFor(text));
    return true;
}

bool MeasureText(ITextStyle& text, const char* string, IBox& rect)
{
    if (!string || !*string) {
        rect.R = rect.L;
        rect.B = rect.T;
        return true;
    }
    PIX_IFont* font = FindOrCreateFont(text);
    if (!font)
        return false;
    font->SetTextColour(text.colour.Pack());
    font->DrawText(nullptr, string, -1, rect, (FlagsFor(text) & (kTextUseAlpha)) | kTextMeasure);
    return true;
}

}  // namespace pix
