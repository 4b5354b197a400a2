// Small bitmaps for raster tests: made from pixel lists, read back as
// lists, and drawn as pictures of marked pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PIX_MemBitmap.h"

namespace testing_raster {

// A width x height bitmap (row alignment 4) with every pixel set to fill.
std::unique_ptr<PIX_MemBitmap> Filled(int width, int height, std::uint32_t fill);

// Row-major pixels (rows joined, padding left out).
std::vector<std::uint32_t> Pixels(const PIX_IBitmap& bitmap);

// A bitmap whose pixel (x, y) is 0x01000000 * (y + 1) + x + 1, so that
// every pixel is distinct and shows where it came from.
std::unique_ptr<PIX_MemBitmap> Numbered(int width, int height);

std::uint32_t At(const PIX_IBitmap& bitmap, int x, int y);

// One text row per bitmap row: '.' for pixels equal to background,
// 'X' for the rest.
std::string Picture(const PIX_IBitmap& bitmap, std::uint32_t background);

}  // namespace testing_raster
