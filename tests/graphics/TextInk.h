// Where text left marks: the bounding box of the pixels that differ from
// the background, and the font-cache fonts text tests draw with.
#pragma once

#include <cstdint>

#include "IBox.h"
#include "PIX_IBitmap.h"

namespace testing_text {

// Bounding box (R and B exclusive) of the pixels unequal to background;
// all zero when there are none.
IBox InkBounds(const PIX_IBitmap& bitmap, std::uint32_t background);

// Number of pixels unequal to background.
int InkCount(const PIX_IBitmap& bitmap, std::uint32_t background);

}  // namespace testing_text
