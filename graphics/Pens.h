// Pens: the per-pixel colour updates of lines, arcs and sectors. Each pen
// applies one blend operation of a fixed colour; Full() draws at the call's
// weight, Cover(d, w) at a pixel's own (anti-aliasing) weight w in 1/256.
// WithPen picks the pen once per call, so the drawing loops test no mode.
#pragma once

#include <cstdint>

#include "PIX_IBitmap.h"
#include "PixelOps.h"
#include "RasterMode.h"

namespace pix {

struct PenSet {  // copy at full weight
    std::uint32_t c;
    std::uint32_t Full(std::uint32_t) const { return c; }
    std::uint32_t Cover(std::uint32_t d, int w) const { return CopyWeighted(d, c, w); }
};

struct PenAverage {  // copy at weight 128
    std::uint32_t c;
    std::uint32_t Full(std::uint32_t d) const { return AverageChannels(d, c); }
    std::uint32_t Cover(std::uint32_t d, int w) const { return CopyWeighted(d, c, w); }
};

struct PenMix {  // copy at any other weight
    std::uint32_t c;
    int ia;
    std::uint32_t Full(std::uint32_t d) const { return CopyWeighted(d, c, ia); }
    std::uint32_t Cover(std::uint32_t d, int w) const { return CopyWeighted(d, c, w); }
};

struct PenAdd {
    std::uint32_t c;
    int ia;
    std::uint32_t Full(std::uint32_t d) const { return AddChannels(d, c, ia, int(c >> 24)); }
    std::uint32_t Cover(std::uint32_t d, int w) const { return AddChannels(d, c, w, int(c >> 24)); }
};

struct PenDodge {
    std::uint32_t c;
    int ia;
    std::uint32_t Full(std::uint32_t d) const { return DodgeChannels(d, c, ia, int(c >> 24)); }
    std::uint32_t Cover(std::uint32_t d, int w) const { return DodgeChannels(d, c, w, int(c >> 24)); }
};

// Calls draw(pen) with the pen for the mode's operation; the use-alpha bit
// plays no part. Reserved operations draw nothing.
template <typename Draw>
void WithPen(std::uint32_t mode, std::uint32_t colour, int ia, Draw draw)
{
    switch (OperationOf(mode)) {
    case kOpCopy:
        if (ia == 256)
            draw(PenSet{colour});
        else if (ia == 128)
            draw(PenAverage{colour});
        else
            draw(PenMix{colour, ia});
        break;
    case kOpAdd: draw(PenAdd{colour, ia}); break;
    case kOpDodge: draw(PenDodge{colour, ia}); break;
    default: break;
    }
}

// A bitmap's pixels as the rasterisers see them.
struct Surface {
    std::uint32_t* bits;
    long span;
    int W, H;

    bool Contains(long long x, long long y) const { return x >= 0 && y >= 0 && x < W && y < H; }
    std::uint32_t& At(long long x, long long y) const { return bits[long(y) * span + long(x)]; }

    // Anti-aliased pixel: skipped when outside or without weight.
    template <typename Pen>
    void Cover(const Pen& pen, long long x, long long y, int w) const
    {
        if (w > 0 && Contains(x, y))
            At(x, y) = pen.Cover(At(x, y), w);
    }
    template <typename Pen>
    void Full(const Pen& pen, long long x, long long y) const
    {
        if (Contains(x, y))
            At(x, y) = pen.Full(At(x, y));
    }
};

// The surface of a bitmap; false when there is nothing to draw on.
inline bool SurfaceOf(const PIX_IBitmap* bitmap, Surface& out)
{
    if (!bitmap || !bitmap->GetBits() || bitmap->GetWidth() <= 0 || bitmap->GetHeight() <= 0)
        return false;
    out = Surface{bitmap->GetBits(), bitmap->GetRowSpan(), bitmap->GetWidth(), bitmap->GetHeight()};
    return true;
}

}  // namespace pix
