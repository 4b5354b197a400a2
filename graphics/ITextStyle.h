// ITextStyle: how a text is drawn: face name, cell height, colour, bold and
// italic bits, alignment, baseline angle and quality, plus the font made for
// it on first use (shared through the process-wide font cache).
#pragma once

#include <cstring>
#include <string_view>

#include "IArgb.h"

class PIX_IFont;

struct ITextStyle {
    static constexpr int kFaceCapacity = 32;  // characters, terminator included
    static constexpr int kBold = 1;  // style bits
    static constexpr int kItalic = 2;
    static constexpr int kAlignLeft = 0;  // align values; any other is right
    static constexpr int kAlignCentre = 1;
    static constexpr int kAlignRight = 2;

    char font[kFaceCapacity] = "Arial";
    int size = 14;  // height of the character cell in pixels
    IArgb colour{255, 0, 0, 0};  // A below 255 draws translucent text
    int style = 0;
    int align = kAlignCentre;
    int orientation = 0;  // baseline angle in degrees, counter-clockwise
    int quality = 0;  // 0 default, 1 aliased, 2 anti-aliased, 3 sub-pixel
    PIX_IFont* cachedFont = nullptr;  // not owned: the font cache owns it

    ITextStyle() = default;
    ITextStyle(std::string_view face, int size, IArgb colour, int style = 0, int align = kAlignCentre,
               int orientation = 0, int quality = 0)
        : size(size), colour(colour), style(style), align(align), orientation(orientation), quality(quality)
    {
        SetFace(face);
    }

    // Copies the face name, cut to 31 characters.
    void SetFace(std::string_view face)
    {
        const std::size_t n = face.size() < kFaceCapacity - 1 ? face.size() : kFaceCapacity - 1;
        std::memcpy(font, face.data(), n);
        std::memset(font + n, 0, kFaceCapacity - n);
    }

    // The face name up to its terminator (or all 32 characters without one).
    std::string_view Face() const { return std::string_view(font, strnlen(font, kFaceCapacity)); }
};
