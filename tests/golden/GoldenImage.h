// Whole-frame reference pictures: 0xAARRGGBB pixels compared with a committed 8-bit RGB PNG.
// With VIBRASCEND_UPDATE_GOLDEN=1 in the environment the reference is rewritten instead.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace golden {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xFFRRGGBB, top row first
};

// Empty when the file is missing or not a readable PNG; any PNG layout is converted to RGB.
std::optional<Picture> ReadPng(const std::filesystem::path& file);
// False when the file cannot be written.
bool WritePng(const std::filesystem::path& file, const Picture& picture);

// Compares `actual` (alpha ignored) with `referenceFolder/name.png`. Answers an empty string on a
// match, else what differs; then the actual picture and a note of the differing pixels are left
// in `outputFolder` as name.png and name.txt.
std::string Compare(const Picture& actual, const std::filesystem::path& referenceFolder,
                    const std::filesystem::path& outputFolder, const std::string& name);

}  // namespace golden
