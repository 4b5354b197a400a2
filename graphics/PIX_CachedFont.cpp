#include "PIX_CachedFont.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <utility>

#include "FontService.h"
#include "GlyphBlend.h"
#include "GlyphScratch.h"
#include "PixelOps.h"
#include "Utf8Text.h"

static_assert(pix::kTextCentre == platform::kTextCentre && pix::kTextRight == platform::kTextRight &&
              pix::kTextVCentre == platform::kTextVCentre && pix::kTextBottom == platform::kTextBottom &&
              pix::kTextSingleLine == platform::kTextSingleLine && pix::kTextNoClip == platform::kTextNoClip &&
              pix::kTextMeasure == platform::kTextMeasure);

namespace {

// Fonts at least this tall always draw with the platform: the scratch
// bitmap is only sized for cells up to 255 pixels.
constexpr int kMaxCachedLineHeight = 255;
// Strings up to this many bytes are converted for the platform on the stack.
constexpr std::size_t kStackCodePoints = 1024;
// Pen positions further out than this draw nothing (they stay far outside
// any bitmap while pixel arithmetic cannot overflow).
constexpr long long kFarPixel = 1LL << 29;

constexpr unsigned kPlatformFlags = platform::kTextCentre | platform::kTextRight | platform::kTextVCentre |
                                    platform::kTextBottom | platform::kTextSingleLine | platform::kTextNoClip |
                                    platform::kTextMeasure;
constexpr int kAlignFlags = pix::kTextCentre | pix::kTextRight | pix::kTextVCentre | pix::kTextBottom;

std::string_view TextOf(const char* string, int count)
{
    return count < 0 ? std::string_view(string) : std::string_view(string, strnlen(string, std::size_t(count)));
}

platform::TextSurface SurfaceOf(PIX_IBitmap& bitmap)
{
    return platform::TextSurface{bitmap.GetBits(), bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetRowSpan(),
                                 bitmap.GetDC()};
}

int ClampToInt(long long v) { return int(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

}  // namespace

PIX_CachedFont::PIX_CachedFont() : scratch(GlyphScratch::Acquire()) {}

PIX_CachedFont::~PIX_CachedFont() = default;

void PIX_CachedFont::SetFont(std::unique_ptr<platform::PlatformFont> handle, int newFlags)
{
    fontHandle = std::move(handle);
    flags = newFlags;
    lineHeight = fontHandle ? fontHandle->LineHeight() : 0;
    lowGlyphs = {};
    extraGlyphs.clear();
    glyphStore.clear();
}

std::uint32_t PIX_CachedFont::SetTextColour(std::uint32_t colour) { return std::exchange(textColour, colour); }
std::uint32_t PIX_CachedFont::SetBackgroundColour(std::uint32_t colour)
{
    return std::exchange(backgroundColour, colour);
}
std::uint32_t PIX_CachedFont::SetEffectColour(std::uint32_t colour) { return std::exchange(effectColour, colour); }
int PIX_CachedFont::SetBackgroundMode(int mode) { return std::exchange(backgroundMode, mode); }
void PIX_CachedFont::SetCombineMode(int mode, float newAlpha)
{
    combineMode = mode;
    alpha = newAlpha;
}

bool PIX_CachedFont::UsesPlatformPath(int dtFlags) const
{
    if (lineHeight > kMaxCachedLineHeight)
        return true;
    return (flags & pix::kFontPreferPlatform) && fontHandle && !platform::RunsUnderWine() &&
           !(dtFlags & pix::kTextUseAlpha);
}

int PIX_CachedFont::DrawText(PIX_IBitmap* bitmap, const char* string, int count, IBox& rect, int dtFlags)
{
    const bool measure = (dtFlags & pix::kTextMeasure) != 0;
    if ((!bitmap && !measure) || !string)
        return 0;
    const std::string_view text = TextOf(string, count);
    if (UsesPlatformPath(dtFlags))
        return fontHandle ? DrawWithPlatform(bitmap, text, rect, dtFlags) : 0;
    if (measure) {
        const Extent extent = Measure(text, dtFlags);
        rect.R = ClampToInt(rect.L + extent.widest);
        rect.B = ClampToInt(rect.T + extent.lowest);
        return ClampToInt(extent.lowest);
    }
    return DrawFromCache(*bitmap, text, rect, dtFlags);
}

// Well-formed UTF-8 goes to the platform as code points; anything else as
// one character per byte.
int PIX_CachedFont::DrawWithPlatform(PIX_IBitmap* bitmap, std::string_view text, IBox& rect, int dtFlags)
{
    std::array<char32_t, kStackCodePoints> onStack;
    std::vector<char32_t> onHeap;
    char32_t* codes = onStack.data();
    if (text.size() > onStack.size()) {
        onHeap.resize(text.size());
        codes = onHeap.data();
    }
    long count = pix::DecodeUtf8(text, codes);
    if (count < 0) {
        for (std::size_t i = 0; i < text.size(); ++i)
            codes[i] = static_cast<unsigned char>(text[i]);
        count = long(text.size());
    }
    platform::TextSurface surface;
    if (bitmap)
        surface = SurfaceOf(*bitmap);
    platform::TextBox box{rect.L, rect.T, rect.R, rect.B};
    const platform::TextPaint paint{textColour, backgroundColour, backgroundMode == pix::kBackgroundOpaque};
    const int height =
        fontHandle->DrawText(bitmap ? &surface : nullptr, std::span<const char32_t>(codes, std::size_t(count)), box,
                             unsigned(dtFlags) & kPlatformFlags, paint);
    if (dtFlags & pix::kTextMeasure) {
        rect.R = box.right;
        rect.B = box.bottom;
    }
    return height;
}

PIX_CachedFont::Extent PIX_CachedFont::Measure(std::string_view text, int dtFlags)
{
    Extent extent;
    long long x = 0, y = 0;
    for (std::size_t i = 0; i < text.size();) {
        const pix::Utf8Step step = pix::NextCodePoint(text.substr(i));
        i += std::size_t(step.length);
        char32_t code = step.length == 4 ? U' ' : step.code;
        if (code == U'\r')
            continue;
        if (code == U'\n') {
            if (!(dtFlags & pix::kTextSingleLine)) {
                x = 0;
                y += lineHeight;
                continue;
            }
            code = U' ';
        }
        const Glyph& glyph = Lookup(code);
        if (glyph.storeOffset <= 0)
            continue;
        extent.widest = std::max({extent.widest, x + glyph.advance, x + glyph.width - glyph.leftOffset});
        extent.lowest = std::max(extent.lowest, y + glyph.height);
        x += glyph.advance;
    }
    return extent;
}

int PIX_CachedFont::DrawFromCache(PIX_IBitmap& bitmap, std::string_view text, const IBox& rect, int dtFlags)
{
    float opacity = alpha;
    if (dtFlags & pix::kTextUseAlpha)
        opacity = alpha * float(textColour >> 24) / 255.0f;
    const int weight = pix::WeightTruncated(opacity);
    if (weight == 0)
        return 0;

    long long left = rect.L, top = rect.T;
    if (dtFlags & kAlignFlags) {
        const Extent extent = Measure(text, dtFlags);
        if (dtFlags & pix::kTextCentre)
            left = rect.L + ((long long)rect.R - rect.L - extent.widest) / 2;
        else if (dtFlags & pix::kTextRight)
            left = rect.R - extent.widest;
        if (dtFlags & pix::kTextVCentre)
            top = rect.T + ((long long)rect.B - rect.T - extent.lowest) / 2;
        else if (dtFlags & pix::kTextBottom)
            top = rect.B - extent.lowest;
    }

    IBox clip{0, 0, bitmap.GetWidth(), bitmap.GetHeight()};
    if (!(dtFlags & pix::kTextNoClip))
        clip = IBox{std::max(rect.L, 0), std::max(rect.T, 0), std::min(rect.R, clip.R), std::min(rect.B, clip.B)};
    if (clip.L >= clip.R || clip.T >= clip.B || !bitmap.GetBits())
        return 0;

    long long x = left, y = top, lowest = 0;
    for (std::size_t i = 0; i < text.size();) {
        const pix::Utf8Step step = pix::NextCodePoint(text.substr(i));
        i += std::size_t(step.length);
        char32_t code = step.length == 4 ? U' ' : step.code;
        if (code == U'\r')
            continue;
        if (code == U'\n') {
            if (!(dtFlags & pix::kTextSingleLine)) {
                x = left;
                y += lineHeight;
                continue;
            }
            code = U' ';
        }
        const Glyph& glyph = Lookup(code);
        if (glyph.storeOffset <= 0)
            continue;
        if (x > -kFarPixel && x < kFarPixel && y > -kFarPixel && y < kFarPixel)
            BlendGlyph(bitmap, glyph, int(x), int(y), clip, weight);
        lowest = std::max(lowest, y - top + glyph.height);
        x += glyph.advance;
    }
    return ClampToInt(lowest);
}

void PIX_CachedFont::DrawGlyph(PIX_IBitmap* bitmap, char32_t code, int x, int y, const IBox& clip)
{
    if (!bitmap || !bitmap->GetBits())
        return;
    const Glyph& glyph = Lookup(code);
    if (glyph.storeOffset <= 0)
        return;
    const IBox inside{std::max(clip.L, 0), std::max(clip.T, 0), std::min(clip.R, bitmap->GetWidth()),
                      std::min(clip.B, bitmap->GetHeight())};
    BlendGlyph(*bitmap, glyph, x, y, inside, pix::WeightTruncated(alpha));
}

const PIX_CachedFont::Glyph& PIX_CachedFont::CachedGlyph(char32_t code) { return Lookup(code); }

std::basic_string_view<std::uint8_t> PIX_CachedFont::CoverageOf(const Glyph& glyph) const
{
    if (glyph.storeOffset <= 0)
        return {};
    return std::basic_string_view<std::uint8_t>(glyphStore.data() + glyph.storeOffset - 1,
                                                std::size_t(glyph.width) * std::size_t(glyph.height));
}

PIX_CachedFont::Glyph& PIX_CachedFont::Lookup(char32_t code)
{
    if (code < lowGlyphs.size()) {
        Glyph& glyph = lowGlyphs[code];
        if (glyph.storeOffset == 0) {
            glyph.code = code;
            Render(glyph);
        }
        return glyph;
    }
    const auto byCode = [](const Glyph& g, char32_t c) { return g.code < c; };
    auto found = std::lower_bound(extraGlyphs.begin(), extraGlyphs.end(), code, byCode);
    if (found == extraGlyphs.end() || found->code != code) {
        Glyph fresh;
        fresh.code = code;
        Render(fresh);
        found = extraGlyphs.insert(found, fresh);
    }
    return *found;
}

// Renders one character white on black into the scratch bitmap, with room
// on both sides for ink outside the advance (italic overhang, negative side
// bearings), and keeps the red channel trimmed to the columns that matter.
void PIX_CachedFont::Render(Glyph& glyph)
{
    glyph.storeOffset = -1;
    glyph.width = glyph.height = glyph.advance = glyph.leftOffset = 0;
    if (!fontHandle || lineHeight > kMaxCachedLineHeight)
        return;

    std::lock_guard<std::mutex> guard(scratch->lock);
    PIX_MemBitmap& canvas = scratch->bitmap;
    const int side = 2 * std::max(lineHeight, 1) + 8;
    if (canvas.GetWidth() < side || canvas.GetHeight() < side)
        canvas.Resize(side, side);
    if (!canvas.GetBits())
        return;
    const platform::TextSurface surface = SurfaceOf(canvas);

    const int d = lineHeight >= 16 ? lineHeight / 16 : 0;
    const int pad = d + 2;
    const char32_t code[1] = {glyph.code};
    const platform::TextPaint paint{0xFFFFFFFF, 0xFF000000, true};
    platform::TextBox size{0, 0, 0, 0};
    fontHandle->DrawText(nullptr, code, size, platform::kTextSingleLine | platform::kTextMeasure, paint);
    const int w = std::min(size.right, surface.width);
    const int h = std::min(size.bottom, surface.height);
    if (w < 1 || h < 1)
        return;

    const int area = std::min(w + 2 * d + 4, surface.width);
    for (int y = 0; y < h; ++y)
        std::fill_n(surface.bits + std::ptrdiff_t(y) * surface.rowSpan, area, 0xFF000000u);
    platform::TextBox at{pad, 0, area, h};
    fontHandle->DrawText(&surface, code, at, platform::kTextSingleLine | platform::kTextNoClip, paint);

    int inkLeft = area, inkRight = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = surface.bits + std::ptrdiff_t(y) * surface.rowSpan;
        for (int x = 0; x < area; ++x)
            if (row[x] & 0x00FF0000) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
    }
    const int first = std::min(pad, inkLeft);
    const int end = std::min(std::max(w + pad, inkRight + 1), area);
    const std::size_t bytes = std::size_t(end - first) * std::size_t(h);
    if (glyphStore.size() + bytes >= std::size_t(INT_MAX))
        return;

    const std::size_t offset = glyphStore.size();
    glyphStore.resize(offset + bytes);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = surface.bits + std::ptrdiff_t(y) * surface.rowSpan;
        std::uint8_t* map = glyphStore.data() + offset + std::size_t(y) * std::size_t(end - first);
        for (int x = first; x < end; ++x)
            map[x - first] = std::uint8_t(row[x] >> 16);
    }
    glyph.storeOffset = int(offset) + 1;
    glyph.width = end - first;
    glyph.height = h;
    glyph.advance = w;
    glyph.leftOffset = pad - first;
}

// Blends a glyph with its pen at (x, y): the map starts leftOffset pixels
// to the left of the pen and is cut to clip, which lies inside the bitmap.
void PIX_CachedFont::BlendGlyph(PIX_IBitmap& bitmap, const Glyph& glyph, int x, int y, const IBox& clip,
                                int weight) const
{
    if (weight <= 0)
        return;
    const long long left = (long long)x - glyph.leftOffset;
    const long long x0 = std::max<long long>(left, clip.L), x1 = std::min<long long>(left + glyph.width, clip.R);
    const long long y0 = std::max<long long>(y, clip.T), y1 = std::min<long long>((long long)y + glyph.height, clip.B);
    if (x0 >= x1 || y0 >= y1)
        return;

    const std::uint8_t* map = glyphStore.data() + glyph.storeOffset - 1;
    std::uint32_t* bits = bitmap.GetBits();
    const int span = bitmap.GetRowSpan();
    for (long long row = y0; row < y1; ++row) {
        const std::uint8_t* coverage = map + (row - y) * glyph.width;
        std::uint32_t* pixels = bits + row * span;
        for (long long column = x0; column < x1; ++column) {
            const int c = coverage[column - left];
            if (c == 0)
                continue;
            pixels[column] = weight == 256 ? pix::GlyphBlendOpaque(pixels[column], textColour, c)
                                           : pix::GlyphBlendTranslucent(pixels[column], textColour, c, weight);
        }
    }
}
