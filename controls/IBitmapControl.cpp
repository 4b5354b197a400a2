#include "controls/IBitmapControl.h"

#include "controls/IGraphics.h"

#include <algorithm>
#include <cmath>

IBitmapControl::IBitmapControl(IEditHost* host, const IBox& area, const IImage& image, const IBlend& how,
                               bool framesVertical)
    : IControl(host, -1), vertical(framesVertical), bitmap(image)
{
    rect = area;
    targetRect = area;
    blend = how;
}

bool IBitmapControl::Draw(IGraphics& graphics)
{
    int frame = 1;
    if (bitmap.N > 1) {
        const double v = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
        frame = std::clamp(static_cast<int>((bitmap.N - 1) * v + 0.5) + 1, 1, bitmap.N);
    }
    return graphics.DrawBitmapFrame(bitmap, rect, frame, &blend, vertical);
}
