// Reading a PNG file back as 0xAARRGGBB pixels, top row first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vibrascend::render {

struct PngPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, row by row
};

// Throws HostError when the file cannot be read or is not a PNG image.
PngPixels ReadPng(const std::filesystem::path& file);

}  // namespace vibrascend::render
