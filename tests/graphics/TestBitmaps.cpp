#include "TestBitmaps.h"

namespace testing_raster {

std::unique_ptr<PIX_MemBitmap> Filled(int width, int height, std::uint32_t fill)
{
    auto bitmap = std::make_unique<PIX_MemBitmap>(width, height, 4);
    PIX_MemBitmap& b = *bitmap;
    for (int y = 0; y < b.GetHeight(); ++y)
        for (int x = 0; x < b.GetWidth(); ++x)
            b.GetBits()[y * b.GetRowSpan() + x] = fill;
    return bitmap;
}

std::unique_ptr<PIX_MemBitmap> Numbered(int width, int height)
{
    auto bitmap = std::make_unique<PIX_MemBitmap>(width, height, 4);
    PIX_MemBitmap& b = *bitmap;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.GetBits()[y * b.GetRowSpan() + x] = 0x01000000u * (y + 1) + x + 1;
    return bitmap;
}

std::vector<std::uint32_t> Pixels(const PIX_IBitmap& bitmap)
{
    std::vector<std::uint32_t> out;
    for (int y = 0; y < bitmap.GetHeight(); ++y)
        for (int x = 0; x < bitmap.GetWidth(); ++x)
            out.push_back(At(bitmap, x, y));
    return out;
}

std::uint32_t At(const PIX_IBitmap& bitmap, int x, int y) { return bitmap.GetBits()[y * bitmap.GetRowSpan() + x]; }

std::string Picture(const PIX_IBitmap& bitmap, std::uint32_t background)
{
    std::string out;
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        for (int x = 0; x < bitmap.GetWidth(); ++x)
            out += At(bitmap, x, y) == background ? '.' : 'X';
        out += '\n';
    }
    return out;
}

}  // namespace testing_raster
