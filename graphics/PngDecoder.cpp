#include "PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "EmbeddedResources.h"

namespace pix {
namespace {

constexpr char kLibpngVersion[] = "1.6.21";
constexpr std::size_t kMinResourceSize = 8;

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
};

// Copies what is left of the request, zero-fills the rest and advances.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    const std::size_t left = r->size - r->offset;
    const std::size_t n = length < left ? length : left;
    std::memcpy(out, r->data + r->offset, n);
    std::memset(out + n, 0, length - n);
    r->offset += n;
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Everything libpng may jump across lives in this frame and is plain data:
// no object here has a destructor. Answers false on any libpng error.
bool ReadImage(png_structp png, png_infop info, MemoryReader* reader, PIX_IBitmap* dest)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, reader, ReadFromMemory);
    png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
    if (std::uint64_t(width) * height > kMaxPngPixels)
        return false;

    bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
        alpha = true;
    }
    if (depth == 16)
        png_set_strip_16(png);
    if (depth < 8)
        png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (alpha)
        png_set_swap_alpha(png);
    else
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_size_t(width) * 4)
        return false;

    dest->Resize(int(width), int(height));
    if (dest->GetWidth() != int(width) || dest->GetHeight() != int(height) || !dest->GetBits())
        return false;
    std::uint32_t* bits = dest->GetBits();
    const long span = dest->GetRowSpan();
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, reinterpret_cast<png_bytep>(bits + long(y) * span), nullptr);
    png_read_end(png, nullptr);
    return true;
}

// Bytes alpha, red, green, blue into A<<24 | R<<16 | G<<8 | B.
void BytesToPixels(PIX_IBitmap& bitmap)
{
    std::uint32_t* bits = bitmap.GetBits();
    const long span = bitmap.GetRowSpan();
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        auto* row = reinterpret_cast<std::uint8_t*>(bits + long(y) * span);
        for (int x = 0; x < bitmap.GetWidth(); ++x) {
            const std::uint8_t* b = row + x * 4;
            const std::uint32_t pixel =
                std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 | std::uint32_t(b[2]) << 8 | b[3];
            std::memcpy(row + x * 4, &pixel, 4);
        }
    }
}

bool Decode(const std::uint8_t* data, std::size_t size, PIX_IBitmap& dest)
{
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return false;
    png_structp png = png_create_read_struct(kLibpngVersion, nullptr, nullptr, IgnoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{data, size, 0};
    const bool ok = info && ReadImage(png, info, &reader, &dest);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (ok)
        BytesToPixels(dest);
    return ok;
}

}  // namespace

std::unique_ptr<PIX_MemBitmap> DecodePngData(const std::uint8_t* data, std::size_t size)
{
    auto bitmap = std::make_unique<PIX_MemBitmap>(0, 0, 4);
    if (!Decode(data, size, *bitmap))
        return nullptr;
    return bitmap;
}

PIX_IBitmap* DecodePngData(const std::uint8_t* data, std::size_t size, PIX_IBitmap& destination)
{
    return Decode(data, size, destination) ? &destination : nullptr;
}

std::unique_ptr<PIX_MemBitmap> DecodePngResource(const void* module, int resourceId)
{
    const platform::ResourceData r = platform::FindResource(module, "PNG", resourceId);
    if (!r.data || r.size < kMinResourceSize)
        return nullptr;
    return DecodePngData(r.data, r.size);
}

PIX_IBitmap* DecodePngResource(const void* module, int resourceId, PIX_IBitmap& destination)
{
    const platform::ResourceData r = platform::FindResource(module, "PNG", resourceId);
    if (!r.data || r.size < kMinResourceSize)
        return nullptr;
    return DecodePngData(r.data, r.size, destination);
}

}  // namespace pix
