// FillRect: solid rectangle fill with a blend operation and weight,
// clipped to the bitmap.
#pragma once

#include <cstdint>

#include "PIX_IBitmap.h"

namespace pix {

// colour is a packed pixel value; with the use-alpha bit the weight is
// scaled by the colour's alpha / 255 first.
void FillRect(PIX_IBitmap* dest, int x, int y, int width, int height, std::uint32_t colour, float weight,
              std::uint32_t mode);

}  // namespace pix
