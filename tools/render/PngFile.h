// Writing 0xAARRGGBB pixels, top row first, as an 8-bit RGB PNG file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vibrascend::render {

// Throws HostError when the file cannot be written.
void WritePng(const std::filesystem::path& file, const std::vector<std::uint32_t>& pixels, int width, int height);

}  // namespace vibrascend::render
