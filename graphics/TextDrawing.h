// Drawing and measuring a UTF-8 string in an ITextStyle: what the graphics
// core's DrawText does. The first line's top is at rect.T; lines are left-,
// centre- or right-aligned between rect.L and rect.R and are not clipped
// to rect (only to the bitmap).
#pragma once

#include "IBox.h"
#include "ITextStyle.h"
#include "PIX_IBitmap.h"
#include "PIX_IFont.h"

namespace pix {

// The style's font: text.cachedFont, else the font cache's, which is then
// remembered in text.cachedFont. Null when no font can be made.
PIX_IFont* FindOrCreateFont(ITextStyle& text);

// Draws string into bitmap. True when there was nothing to draw or it was
// drawn; false when no font could be made for the style.
bool DrawText(PIX_IBitmap& bitmap, ITextStyle& text, const char* string, const IBox& rect);

// The box the same call to DrawText covers: rect.L and rect.T are kept,
// rect.R and rect.B set to the far edges of the text. False when no font
// could be made; an empty string measures as an empty extent at (L, T).
bool MeasureText(ITextStyle& text, const char* string, IBox& rect);

}  // namespace pix
