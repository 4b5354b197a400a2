// Line and SubpixelLine: straight segments, optionally anti-aliased, clipped
// to the bitmap, drawn with the blend operations of RasterMode.h.
#pragma once

#include <cstdint>

#include "PIX_IBitmap.h"

namespace pix {

// Integer end points, both drawn.
void Line(PIX_IBitmap* dest, int x1, int y1, int x2, int y2, std::uint32_t colour, float weight, std::uint32_t mode,
          bool antialias);

// Single-precision end points; without anti-aliasing they are truncated and
// drawn with Line.
void SubpixelLine(PIX_IBitmap* dest, float x1, float y1, float x2, float y2, std::uint32_t colour, float weight,
                  std::uint32_t mode, bool antialias);

}  // namespace pix
