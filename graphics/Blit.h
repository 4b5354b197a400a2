// Blit: copies a rectangle of one bitmap into another with a blend
// operation (mode word of RasterMode.h) and a global weight, clipped to both.
#pragma once

#include <cstdint>

#include "IBox.h"
#include "PIX_IBitmap.h"

namespace pix {

// srcRect null means the whole source. Source and destination must be
// different bitmaps.
void Blit(PIX_IBitmap* dest, const PIX_IBitmap* src, int dstX, int dstY, const IBox* srcRect, float weight,
          std::uint32_t mode);

void Blit(PIX_IBitmap* dest, const PIX_IBitmap* src, int dstX, int dstY, int srcX, int srcY, int width, int height,
          float weight, std::uint32_t mode);

}  // namespace pix
