#include "PngWriter.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace testing_raster {
namespace {

void Append(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void Flush(png_structp) {}

// Only plain data in this frame: libpng may jump out of it.
bool Write(png_structp png, png_infop info, const PngImage* image, std::vector<std::uint8_t>* out,
           png_bytep* rowPointers, png_color* palette, png_color_16* colour)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, Append, Flush);
    png_set_IHDR(png, info, image->width, image->height, image->depth, image->colourType,
                 image->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!image->palette.empty())
        png_set_PLTE(png, info, palette, int(image->palette.size() / 3));
    if (!image->transparency.empty() || !image->transparentColour.empty())
        png_set_tRNS(png, info, image->transparency.empty() ? nullptr : image->transparency.data(),
                     int(image->transparency.size()), image->transparentColour.empty() ? nullptr : colour);
    png_write_info(png, info);
    png_write_image(png, rowPointers);
    png_write_end(png, nullptr);
    return true;
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data)
{
    const std::uint32_t n = std::uint32_t(data.size());
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(std::uint8_t(n >> s));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    const std::uint32_t crc = std::uint32_t(crc32(0, body.data(), uInt(body.size())));
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(std::uint8_t(crc >> s));
}

}  // namespace

std::vector<std::uint8_t> WritePng(const PngImage& image)
{
    std::vector<std::uint8_t> out;
    const std::size_t stride = image.rows.size() / std::size_t(image.height);
    std::vector<png_bytep> rowPointers;
    for (int y = 0; y < image.height; ++y)
        rowPointers.push_back(const_cast<png_bytep>(image.rows.data() + y * stride));
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < image.palette.size(); i += 3)
        palette.push_back(png_color{image.palette[i], image.palette[i + 1], image.palette[i + 2]});
    png_color_16 colour{};
    if (image.transparentColour.size() == 1)
        colour.gray = image.transparentColour[0];
    if (image.transparentColour.size() == 3) {
        colour.red = image.transparentColour[0];
        colour.green = image.transparentColour[1];
        colour.blue = image.transparentColour[2];
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool ok = Write(png, info, &image, &out, rowPointers.data(), palette.data(), &colour);
    png_destroy_write_struct(&png, &info);
    if (!ok)
        out.clear();
    return out;
}

std::vector<std::uint8_t> HeaderOnlyPng(std::uint32_t width, std::uint32_t height)
{
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> header;
    for (std::uint32_t v : {width, height})
        for (int s = 24; s >= 0; s -= 8)
            header.push_back(std::uint8_t(v >> s));
    header.insert(header.end(), {8, 6, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IEND", {});
    return out;
}

}  // namespace testing_raster
