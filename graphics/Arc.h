// Arc and FillArc: outline arcs and filled sectors of a circle, optionally
// anti-aliased. Angle 0 points up (towards smaller y) and angles grow
// clockwise; a range of 2 pi or more draws the whole circle or disc.
#pragma once

#include <cstdint>

#include "PIX_IBitmap.h"

namespace pix {

void Arc(PIX_IBitmap* dest, float cx, float cy, float radius, float minAngle, float maxAngle, std::uint32_t colour,
         float weight, std::uint32_t mode, bool antialias);

void FillArc(PIX_IBitmap* dest, float cx, float cy, float radius, float minAngle, float maxAngle, std::uint32_t colour,
             float weight, std::uint32_t mode, bool antialias);

}  // namespace pix
