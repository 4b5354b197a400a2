// CircleRaster: draws a whole circle outline or disc, every pixel and span
// clipped to a rectangle; arcs and sectors are built from it by choosing
// the rectangle.
#pragma once

#include <cstdint>

#include "Pens.h"

namespace pix {

struct ClipBox {
    long long L, T, R, B;  // R and B exclusive, inside the surface
};

struct CircleSpec {
    float cx, cy, radius;
    std::uint32_t colour;
    int ia;
    std::uint32_t mode;
    bool antialias;
    bool filled;
};

// Larger radii draw nothing: no bitmap of this program comes near them, and
// the rasteriser's work grows with the radius.
constexpr float kMaxRadius = 65536.0f;

void DrawCircle(const Surface& surface, const CircleSpec& circle, const ClipBox& clip);

}  // namespace pix
