#include "GoldenImage.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace golden {

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

bool UpdateRequested()
{
    const char* flag = std::getenv("VIBRASCEND_UPDATE_GOLDEN");
    return flag && std::string(flag) == "1";
}

}  // namespace

std::optional<Picture> ReadPng(const std::filesystem::path& file)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.string().c_str()))
        return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    Picture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.pixels.resize(size_t(image.width) * image.height);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = 0xFF000000u | uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    return picture;
}

bool WritePng(const std::filesystem::path& file, const Picture& picture)
{
    std::vector<png_byte> rgb(picture.pixels.size() * 3);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        rgb[3 * i] = png_byte(picture.pixels[i] >> 16);
        rgb[3 * i + 1] = png_byte(picture.pixels[i] >> 8);
        rgb[3 * i + 2] = png_byte(picture.pixels[i]);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(picture.width);
    image.height = png_uint_32(picture.height);
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_file(&image, file.string().c_str(), 0, rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return written;
}

std::string Compare(const Picture& actual, const std::filesystem::path& referenceFolder,
                    const std::filesystem::path& outputFolder, const std::string& name)
{
    const std::filesystem::path reference = referenceFolder / (name + ".png");
    if (UpdateRequested())
        return WritePng(reference, actual) ? std::string() : "cannot write " + reference.string();

    const std::optional<Picture> expected = ReadPng(reference);
    std::string difference;
    if (!expected) {
        difference = "no reference picture " + reference.string();
    } else if (expected->width != actual.width || expected->height != actual.height) {
        difference = "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) + ", reference " +
                     std::to_string(expected->width) + "x" + std::to_string(expected->height);
    } else {
        long count = 0;
        int left = actual.width, top = actual.height, right = -1, bottom = -1;
        for (int y = 0; y < actual.height; ++y)
            for (int x = 0; x < actual.width; ++x) {
                const size_t i = size_t(y) * size_t(actual.width) + size_t(x);
                if (((actual.pixels[i] ^ expected->pixels[i]) & 0xFFFFFFu) == 0)
                    continue;
                ++count;
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
        if (count > 0)
            difference = std::to_string(count) + " pixels differ within (" + std::to_string(left) + ", " +
                         std::to_string(top) + ")-(" + std::to_string(right) + ", " + std::to_string(bottom) + ")";
    }
    if (difference.empty())
        return difference;

    std::error_code ignored;
    std::filesystem::create_directories(outputFolder, ignored);
    const std::filesystem::path picture = outputFolder / (name + ".png");
    WritePng(picture, actual);
    std::ofstream(outputFolder / (name + ".txt")) << name << ": " << difference << "\n";
    return name + ": " + difference + "; actual picture in " + picture.string() +
           " (if the change is intended: scripts/update-golden.sh)";
}

}  // namespace golden
