// PIX_BitmapView: a window onto a rectangle of another bitmap, sharing its pixels. Drawing into
// the view is drawing into that rectangle, clipped to it: the graphics core draws every control
// through a view of the region being redrawn. The rectangle must lie inside the bitmap.
#pragma once

#include "graphics/IBox.h"
#include "graphics/PIX_IBitmap.h"

class PIX_BitmapView final : public PIX_IBitmap {
public:
    PIX_BitmapView(const PIX_IBitmap& base, const IBox& area)
        : bits(base.GetBits() + static_cast<long>(area.T) * base.GetRowSpan() + area.L), width(area.W()),
          height(area.H()), rowSpan(base.GetRowSpan())
    {
    }

    std::uint32_t* GetBits() const override { return bits; }
    int GetWidth() const override { return width; }
    int GetHeight() const override { return height; }
    int GetRowSpan() const override { return rowSpan; }
    // A view has the size of its window for good.
    bool Resize(int, int) override { return false; }

private:
    std::uint32_t* bits;
    int width;
    int height;
    int rowSpan;
};
