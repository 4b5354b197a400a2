#include "GdiFont.h"

#include <windows.h>
// The system's DrawText macro would rename the font's own operation.
#undef DrawText

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "Utf16Text.h"

namespace platform {

namespace {

HFONT FontOf(void* handle) { return static_cast<HFONT>(handle); }
HDC DcOf(void* handle) { return static_cast<HDC>(handle); }

DWORD QualityOf(int quality)
{
    switch (quality) {
    case 0: return DEFAULT_QUALITY;
    case 2: return ANTIALIASED_QUALITY;
    case 3: return CLEARTYPE_QUALITY;
    default: return NONANTIALIASED_QUALITY;
    }
}

COLORREF ColourOf(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

struct Area {
    long long left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return left >= right || top >= bottom; }
    Area Intersect(const Area& o) const
    {
        return Area{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
};

// Coordinates handed to the system stay well inside what its 32-bit arithmetic can move.
constexpr long long kFar = 1LL << 26;
int Near(long long v) { return int(std::clamp(v, -kFar, kFar)); }

// Whether the font selected into dc has a glyph of its own for a control character.
bool HasGlyph(HDC dc, char32_t code)
{
    const WCHAR unit = WCHAR(code);
    WORD index = 0xFFFF;
    return GetGlyphIndicesW(dc, &unit, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF;
}

// The text as drawn: carriage returns skipped, a line feed in a single line shown as a space,
// control characters the face has no glyph for taking no room (the system would show them as
// the missing-glyph shape).
std::wstring Shown(HDC dc, std::span<const char32_t> text, bool singleLine)
{
    std::vector<char32_t> shown;
    shown.reserve(text.size());
    for (char32_t c : text) {
        if (c == U'\r')
            continue;
        if (c == U'\n') {
            shown.push_back(singleLine ? U' ' : c);
            continue;
        }
        if (c < 0x20 && !HasGlyph(dc, c))
            continue;
        shown.push_back(c);
    }
    return Utf16FromCodePoints(shown);
}

// Pixels the system's drawing changed took the text's opaque colour; its 32-bit drawing does not
// keep the alpha byte, so those pixels are made opaque again.
void RestoreAlpha(const std::uint32_t* before, std::uint32_t* after, int count)
{
    for (int i = 0; i < count; ++i)
        if (after[i] != before[i])
            after[i] |= 0xFF000000u;
}

}  // namespace

std::unique_ptr<GdiFont> GdiFont::Create(const FontRequest& request)
{
    if (request.cellHeight < 1 || request.cellHeight > kMaxFontCellHeight)
        return nullptr;
    char face[LF_FACESIZE] = {};
    const std::size_t length = std::min<std::size_t>(request.face.size(), LF_FACESIZE - 1);
    std::memcpy(face, request.face.data(), length);
    // Any angle is one of 0 ... 359 degrees; the system takes tenths of a degree.
    const int degrees = ((request.orientation % 360) + 360) % 360;
    HFONT font = CreateFontA(request.cellHeight, 0, degrees * 10, degrees * 10, request.bold ? FW_BOLD : FW_NORMAL,
                             request.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, QualityOf(request.quality), DEFAULT_PITCH | FF_DONTCARE, face);
    if (!font)
        return nullptr;
    HDC context = CreateCompatibleDC(nullptr);
    if (!context) {
        DeleteObject(font);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(context, font);
    TEXTMETRICA metrics{};
    if (!previous || previous == HGDI_ERROR || !GetTextMetricsA(context, &metrics) || metrics.tmHeight < 1) {
        if (previous && previous != HGDI_ERROR)
            SelectObject(context, previous);
        DeleteDC(context);
        DeleteObject(font);
        return nullptr;
    }
    return std::unique_ptr<GdiFont>(new GdiFont(font, context, previous, metrics.tmHeight, degrees));
}

GdiFont::GdiFont(void* font, void* context, void* previous, int lineHeight, int orientation)
    : font(font), context(context), previous(previous), lineHeight(lineHeight), orientation(orientation)
{
}

GdiFont::~GdiFont()
{
    SelectObject(DcOf(context), static_cast<HGDIOBJ>(previous));
    DeleteDC(DcOf(context));
    DeleteObject(FontOf(font));
}

std::string GdiFont::FamilyName() const
{
    char name[LF_FACESIZE] = {};
    const int length = GetTextFaceA(DcOf(context), LF_FACESIZE, name);
    return length > 0 ? std::string(name) : std::string();
}

int GdiFont::DrawText(const TextSurface* surface, std::span<const char32_t> text, TextBox& box, unsigned flags,
                      const TextPaint& paint)
{
    const bool measure = (flags & kTextMeasure) != 0;
    if (!measure && (!surface || !surface->bits || surface->width < 1 || surface->height < 1))
        return 0;
    const bool singleLine = (flags & kTextSingleLine) != 0;
    const UINT format = DT_NOPREFIX | (singleLine ? DT_SINGLELINE : 0);

    // The block's extent: the widest line, the lines' cells.
    std::wstring wide = Shown(DcOf(context), text, singleLine);
    int width = 0, height = 0;
    if (!wide.empty()) {
        RECT extent{0, 0, 0, 0};
        height = std::max(0, ::DrawTextW(DcOf(context), wide.data(), int(wide.size()), &extent, format | DT_CALCRECT));
        width = std::max(0, int(extent.right - extent.left));
    }
    if (measure) {
        box.right = int(std::clamp<long long>((long long)box.left + width, INT_MIN, INT_MAX));
        box.bottom = int(std::clamp<long long>((long long)box.top + height, INT_MIN, INT_MAX));
        return height;
    }
    if (wide.empty())
        return 0;

    // Where the block goes: aligned in the box, its first line's top at the box's top unless
    // centred or bottom-aligned.
    long long top = box.top;
    if (flags & kTextVCentre)
        top = box.top + ((long long)box.bottom - box.top - height) / 2;
    else if (flags & kTextBottom)
        top = (long long)box.bottom - height;
    long long left = box.left;
    if (flags & kTextCentre)
        left = box.left + ((long long)box.right - box.left - width) / 2;
    else if (flags & kTextRight)
        left = (long long)box.right - width;

    Area clip{0, 0, surface->width, surface->height};
    if (!(flags & kTextNoClip))
        clip = clip.Intersect(Area{box.left, box.top, box.right, box.bottom});
    // The pixels the drawing may touch: the block with room for ink beyond the cells (overhangs,
    // accents), or all of the clip when the baseline is turned.
    Area touched = clip;
    if (orientation == 0) {
        const long long margin = lineHeight / 2 + 2;
        touched = clip.Intersect(Area{left - margin, top - margin, left + width + margin, top + height + margin});
    }
    if (touched.Empty())
        return height;

    const int areaWidth = int(touched.right - touched.left), areaHeight = int(touched.bottom - touched.top);
    std::vector<std::uint32_t> before(std::size_t(areaWidth) * std::size_t(areaHeight));
    HDC target = DcOf(surface->context);
    HBITMAP own = nullptr;
    HGDIOBJ ownPrevious = nullptr;
    std::uint32_t* ownBits = nullptr;
    long long originX = 0, originY = 0;  // the target's pixel (0, 0) in surface coordinates
    if (target) {
        GdiFlush();
    } else {
        // No context of the surface's: a bitmap of our own over the touched area, holding the
        // surface's pixels while the system draws into it.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = areaWidth;
        info.bmiHeader.biHeight = -areaHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        own = CreateDIBSection(DcOf(context), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!own || !bits) {
            if (own)
                DeleteObject(own);
            return height;
        }
        ownBits = static_cast<std::uint32_t*>(bits);
        ownPrevious = SelectObject(DcOf(context), own);
        target = DcOf(context);
        originX = touched.left;
        originY = touched.top;
    }
    for (int y = 0; y < areaHeight; ++y) {
        const std::uint32_t* row = surface->bits + (touched.top + y) * (long long)surface->rowSpan + touched.left;
        std::copy_n(row, areaWidth, before.data() + std::size_t(y) * std::size_t(areaWidth));
        if (ownBits)
            std::copy_n(row, areaWidth, ownBits + std::size_t(y) * std::size_t(areaWidth));
    }

    const int saved = SaveDC(target);
    const HGDIOBJ formerFont = SelectObject(target, FontOf(font));
    SetTextColor(target, ColourOf(paint.textColour));
    SetBkMode(target, paint.opaqueBackground ? OPAQUE : TRANSPARENT);
    if (paint.opaqueBackground)
        SetBkColor(target, ColourOf(paint.backgroundColour));
    IntersectClipRect(target, int(touched.left - originX), int(touched.top - originY), int(touched.right - originX),
                      int(touched.bottom - originY));
    // Each line is aligned inside the block, which is already placed.
    RECT place{Near(left - originX), Near(top - originY), Near(left + width - originX), Near(top + height - originY)};
    UINT align = DT_LEFT;
    if (flags & kTextCentre)
        align = DT_CENTER;
    else if (flags & kTextRight)
        align = DT_RIGHT;
    ::DrawTextW(target, wide.data(), int(wide.size()), &place, format | align | DT_NOCLIP);
    GdiFlush();
    if (formerFont && formerFont != HGDI_ERROR)
        SelectObject(target, formerFont);
    if (saved)
        RestoreDC(target, saved);

    for (int y = 0; y < areaHeight; ++y) {
        std::uint32_t* row = surface->bits + (touched.top + y) * (long long)surface->rowSpan + touched.left;
        if (ownBits)
            std::copy_n(ownBits + std::size_t(y) * std::size_t(areaWidth), areaWidth, row);
        RestoreAlpha(before.data() + std::size_t(y) * std::size_t(areaWidth), row, areaWidth);
    }
    if (own) {
        SelectObject(DcOf(context), ownPrevious);
        DeleteObject(own);
    }
    return height;
}

}  // namespace platform
