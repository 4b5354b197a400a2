#include "FreeTypeFont.h"

#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace platform {

namespace {

int Channel(std::uint32_t p, int shift) { return int((p >> shift) & 0xFF); }

// Moves one channel d towards f by coverage c (0..255), rounding.
int CoverChannel(int d, int f, int c) { return (d * (255 - c) + f * c + 127) / 255; }

// Text colour f over pixel d at coverage c; the alpha channel moves towards
// opaque by the same coverage.
std::uint32_t CoverPixel(std::uint32_t d, std::uint32_t f, int c)
{
    return std::uint32_t(CoverChannel(Channel(d, 24), 255, c)) << 24 |
           std::uint32_t(CoverChannel(Channel(d, 16), Channel(f, 16), c)) << 16 |
           std::uint32_t(CoverChannel(Channel(d, 8), Channel(f, 8), c)) << 8 |
           std::uint32_t(CoverChannel(Channel(d, 0), Channel(f, 0), c));
}

TextBox Intersect(const TextBox& a, const TextBox& b)
{
    return TextBox{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const TextBox& b) { return b.left >= b.right || b.top >= b.bottom; }

void FillBox(const TextSurface& surface, const TextBox& box, std::uint32_t colour)
{
    for (int y = box.top; y < box.bottom; ++y) {
        std::uint32_t* row = surface.bits + std::ptrdiff_t(y) * surface.rowSpan;
        for (int x = box.left; x < box.right; ++x)
            row[x] = colour;
    }
}

// The code point a line's character is drawn as: a line feed inside a
// single line is a space.
char32_t Shown(char32_t c) { return c == U'\n' ? U' ' : c; }

constexpr double kFar = double(1 << 28);
constexpr long long kFarPixel = 1LL << 29;

}  // namespace

std::unique_ptr<FreeTypeFont> FreeTypeFont::Create(std::shared_ptr<FontLibrary> library, FT_Face face,
                                                   const FontRequest& request, bool antialias)
{
    std::unique_ptr<FreeTypeFont> font(new FreeTypeFont(std::move(library), face, request, antialias));
    if (!font->SetSize(request.cellHeight))
        return nullptr;
    return font;
}

FreeTypeFont::FreeTypeFont(std::shared_ptr<FontLibrary> library, FT_Face face, const FontRequest& request,
                           bool antialias)
    : library(std::move(library)), face(face), synthBold(request.bold && !(face->style_flags & FT_STYLE_FLAG_BOLD)),
      synthItalic(request.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC)), antialias(antialias),
      orientation(((request.orientation % 360) + 360) % 360)
{
    if (orientation != 0) {
        const double angle = orientation * std::numbers::pi / 180.0;
        cosine = std::cos(angle);
        sine = std::sin(angle);
        FT_Matrix rotation{FT_Fixed(cosine * 0x10000), FT_Fixed(-sine * 0x10000), FT_Fixed(sine * 0x10000),
                           FT_Fixed(cosine * 0x10000)};
        FT_Set_Transform(face, &rotation, nullptr);
    }
}

FreeTypeFont::~FreeTypeFont() { library->CloseFace(face); }

// The face is scaled so that ascent + descent fill the cell; the cell is the
// line height, split between ascent and descent in the face's proportions.
bool FreeTypeFont::SetSize(int cellHeight)
{
    const long units = long(face->ascender) - long(face->descender);
    FT_Size_RequestRec request{};
    request.type = units > 0 ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.height = FT_Long(cellHeight) * 64;
    if (FT_Request_Size(face, &request) != 0)
        return false;
    lineHeight = cellHeight;
    ascent = units > 0 ? int(std::lround(double(cellHeight) * face->ascender / double(units))) : cellHeight * 4 / 5;
    return true;
}

std::string FreeTypeFont::FamilyName() const { return face->family_name ? face->family_name : ""; }

const FreeTypeFont::GlyphImage& FreeTypeFont::Glyph(char32_t code)
{
    GlyphImage& image = code < lowGlyphs.size() ? lowGlyphs[code] : extraGlyphs[code];
    if (!image.loaded)
        Rasterise(code, image);
    return image;
}

// Renders one glyph once and keeps its coverage. Control characters the
// face has no glyph for take no room; other missing characters show the
// face's missing-glyph shape. A glyph FreeType cannot load stays empty.
void FreeTypeFont::Rasterise(char32_t code, GlyphImage& image)
{
    image = GlyphImage{};
    image.loaded = true;
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0 && code < 32)
        return;
    if (FT_Load_Glyph(face, index, antialias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO) != 0)
        return;
    FT_GlyphSlot slot = face->glyph;
    if (synthItalic)
        FT_GlyphSlot_Oblique(slot);
    if (synthBold)
        FT_GlyphSlot_Embolden(slot);
    if (FT_Render_Glyph(slot, antialias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
        return;

    if (orientation == 0) {
        image.advance = int((slot->advance.x + 32) >> 6);
        image.advanceX = long(image.advance) * 64;
    } else {
        image.advance = int(std::lround(std::hypot(double(slot->advance.x), double(slot->advance.y)) / 64.0));
        image.advanceX = slot->advance.x;
        image.advanceY = slot->advance.y;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return;
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.width = int(bitmap.width);
    image.height = int(bitmap.rows);
    image.offset = coverage.size();
    coverage.resize(coverage.size() + std::size_t(image.width) * std::size_t(image.height));
    const int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    for (int y = 0; y < image.height; ++y) {
        const int sourceRow = bitmap.pitch < 0 ? image.height - 1 - y : y;
        const unsigned char* source = bitmap.buffer + std::ptrdiff_t(sourceRow) * pitch;
        std::uint8_t* target = coverage.data() + image.offset + std::size_t(y) * std::size_t(image.width);
        for (int x = 0; x < image.width; ++x)
            target[x] = mono ? ((source[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : source[x];
    }
}

int FreeTypeFont::LineWidth(std::span<const char32_t> line, bool singleLine)
{
    int width = 0;
    for (char32_t c : line) {
        if (c == U'\r' || (c == U'\n' && !singleLine))
            continue;
        width += Glyph(Shown(c)).advance;
    }
    return width;
}

void FreeTypeFont::BlendImage(const TextSurface& surface, const GlyphImage& image, int x, int y, const TextBox& clip,
                              std::uint32_t colour) const
{
    const int x0 = std::max(x, clip.left), x1 = std::min(x + image.width, clip.right);
    const int y0 = std::max(y, clip.top), y1 = std::min(y + image.height, clip.bottom);
    for (int row = y0; row < y1; ++row) {
        const std::uint8_t* map = coverage.data() + image.offset + std::size_t(row - y) * std::size_t(image.width);
        std::uint32_t* pixels = surface.bits + std::ptrdiff_t(row) * surface.rowSpan;
        for (int column = x0; column < x1; ++column) {
            const int c = map[column - x];
            if (c != 0)
                pixels[column] = CoverPixel(pixels[column], colour, c);
        }
    }
}

int FreeTypeFont::DrawText(const TextSurface* surface, std::span<const char32_t> text, TextBox& box, unsigned flags,
                           const TextPaint& paint)
{
    const bool measure = (flags & kTextMeasure) != 0;
    if (!measure && (!surface || !surface->bits))
        return 0;
    const bool singleLine = (flags & kTextSingleLine) != 0;

    // Lines and the block's extent.
    int lines = text.empty() ? 0 : 1;
    int widest = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = start;
        while (end < text.size() && (singleLine || text[end] != U'\n'))
            ++end;
        widest = std::max(widest, LineWidth(text.subspan(start, end - start), singleLine));
        if (end < text.size())
            ++lines;
        start = end + 1;
    }
    const int height = int(std::min<long>(long(lines) * lineHeight, 1L << 30));
    if (measure) {
        box.right = box.left + widest;
        box.bottom = box.top + height;
        return height;
    }

    // Box arithmetic in 64 bits: a box may span the whole int range.
    long long top = box.top;
    if (flags & kTextVCentre)
        top = box.top + ((long long)box.bottom - box.top - height) / 2;
    else if (flags & kTextBottom)
        top = (long long)box.bottom - height;
    TextBox clip{0, 0, surface->width, surface->height};
    if (!(flags & kTextNoClip))
        clip = Intersect(clip, box);
    if (IsEmpty(clip))
        return height;

    int lineIndex = 0;
    for (std::size_t start = 0; start < text.size(); ++lineIndex) {
        std::size_t end = start;
        while (end < text.size() && (singleLine || text[end] != U'\n'))
            ++end;
        const std::span<const char32_t> line = text.subspan(start, end - start);
        start = end + 1;
        const long long lineTop = top + (long long)lineIndex * lineHeight;
        if (orientation == 0 && (lineTop >= clip.bottom || lineTop + lineHeight <= clip.top))
            continue;

        const int width = LineWidth(line, singleLine);
        long long dx = 0;
        if (flags & kTextCentre)
            dx = ((long long)box.right - box.left - width) / 2;
        else if (flags & kTextRight)
            dx = (long long)box.right - box.left - width;
        // The line's origin relative to the box's corner, turned by the
        // orientation about that corner. Origins far outside any surface are
        // pulled in to a distance where pixel positions still fit an int.
        const double u = double(dx), v = double(lineTop - box.top);
        const double originX = std::clamp(box.left + u * cosine + v * sine, -kFar, kFar);
        const double originY = std::clamp(box.top - u * sine + v * cosine, -kFar, kFar);
        if (paint.opaqueBackground && orientation == 0) {
            const TextBox cell{int(originX), int(originY), int(originX) + width, int(originY) + lineHeight};
            const TextBox visible = Intersect(cell, clip);
            if (!IsEmpty(visible))
                FillBox(*surface, visible, paint.backgroundColour);
        }
        long penX = std::lround((originX + ascent * sine) * 64.0);
        long penY = std::lround((originY + ascent * cosine) * 64.0);
        for (char32_t c : line) {
            if (c == U'\r' || (c == U'\n' && !singleLine))
                continue;
            const long long pixelX = penX >> 6, pixelY = penY >> 6;
            if (orientation == 0 && pixelX - lineHeight >= clip.right)
                break;
            const GlyphImage& image = Glyph(Shown(c));
            if (image.width > 0 && image.height > 0 && std::abs(pixelX) < kFarPixel && std::abs(pixelY) < kFarPixel)
                BlendImage(*surface, image, int(pixelX) + image.left, int(pixelY) - image.top, clip, paint.textColour);
            penX += image.advanceX;
            penY -= image.advanceY;
        }
    }
    return height;
}

}  // namespace platform
