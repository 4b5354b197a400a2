// BlitRotated: scaled, rotated (and optionally bilinear-filtered) copy of a
// source rectangle into a destination rectangle, rotating about the centre
// of the source rectangle.
#pragma once

#include <cstdint>

#include "PIX_IBitmap.h"

namespace pix {

// angle in radians; negative dstW / dstH mirror. rotCentreX/Y shift the
// rotation centre. Source and destination must be different bitmaps.
void BlitRotated(PIX_IBitmap* dest, const PIX_IBitmap* src, int dstX, int dstY, int dstW, int dstH, float srcX,
                 float srcY, float srcW, float srcH, float angle, bool clipToSourceRect, float weight,
                 std::uint32_t mode, float rotCentreX, float rotCentreY);

}  // namespace pix
