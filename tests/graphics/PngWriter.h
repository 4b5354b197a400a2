// Writes PNG files in memory for decoder tests, with any colour type, bit
// depth, palette, transparency chunk and interlacing.
#pragma once

#include <cstdint>
#include <vector>

namespace testing_raster {

struct PngImage {
    int width = 1, height = 1;
    int depth = 8;
    int colourType = 0;  // PNG_COLOR_TYPE_*
    bool interlaced = false;
    std::vector<std::uint8_t> rows;  // packed sample rows, as stored in the file
    std::vector<std::uint8_t> palette;  // r, g, b triples
    std::vector<std::uint8_t> transparency;  // tRNS: palette alphas
    std::vector<std::uint16_t> transparentColour;  // tRNS: grey, or red, green, blue
};

std::vector<std::uint8_t> WritePng(const PngImage& image);

// A PNG holding only a header for the given size and an end chunk.
std::vector<std::uint8_t> HeaderOnlyPng(std::uint32_t width, std::uint32_t height);

}  // namespace testing_raster
