#include "PngRead.h"

#include "HostError.h"
#include "platform/Files.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace vibrascend::render {

PngPixels ReadPng(const std::filesystem::path& file)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(platform::OpenFile(file, "rb"), &std::fclose);
    if (!in)
        throw host::HostError("cannot read " + file.string());
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_stdio(&image, in.get()))
        throw host::HostError(file.string() + " is not a PNG image");
    // BGRA bytes are 0xAARRGGBB words on the little-endian machines the project builds for.
    image.format = PNG_FORMAT_BGRA;
    PngPixels result;
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    result.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, result.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        throw host::HostError("cannot decode " + file.string());
    }
    return result;
}

}  // namespace vibrascend::render
