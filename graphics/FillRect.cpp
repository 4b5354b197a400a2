#include "FillRect.h"

#include <algorithm>

#include "PixelOps.h"
#include "RasterMode.h"
#include "SimdSpans.h"

namespace pix {
namespace {

struct Area {
    std::uint32_t* dst;
    long span;
    int width, height;
};

// One loop per blend: op(d) gives the new pixel.
template <typename Op>
void FillRows(const Area& a, Op op)
{
    std::uint32_t* row = a.dst;
    for (int y = 0; y < a.height; ++y, row += a.span) {
        std::uint32_t* __restrict d = row;
        for (int x = 0; x < a.width; ++x)
            d[x] = op(d[x]);
    }
}

void FillCopy(const Area& a, std::uint32_t c, int ia)
{
    switch (ia) {
    case 256: FillRows(a, [c](std::uint32_t) { return c; }); break;
    case 128: FillRows(a, [c](std::uint32_t d) { return PackedHalf(d, c); }); break;
    case 64: FillRows(a, [c](std::uint32_t d) { return PackedQuarter(d, c); }); break;
    case 192: FillRows(a, [c](std::uint32_t d) { return PackedThreeQuarters(d, c); }); break;
    default: {
        // The alpha channel moves towards ia as the colours move towards c.
        const std::uint32_t target = std::uint32_t(ia) << 24 | (c & 0xFFFFFF);
        std::uint32_t* row = a.dst;
        for (int y = 0; y < a.height; ++y, row += a.span)
            for (int x = MixConstantSpan(row, a.width, target, 256 - ia); x < a.width; ++x)
                row[x] = FillCopyWeighted(row[x], c, ia);
        break;
    }
    }
}

}  // namespace

void FillRect(PIX_IBitmap* dest, int x, int y, int width, int height, std::uint32_t colour, float weight,
              std::uint32_t mode)
{
    if (!dest)
        return;
    if (UsesAlpha(mode))
        weight *= float(colour >> 24) * (1.0f / 255.0f);
    long long l = x, t = y, w = width, h = height;
    if (l < 0) {
        w += l;
        l = 0;
    }
    if (t < 0) {
        h += t;
        t = 0;
    }
    std::uint32_t* bits = dest->GetBits();
    const long long bw = dest->GetWidth(), bh = dest->GetHeight();
    if (weight == 0.0f || !bits || w <= 0 || h <= 0 || l >= bw || t >= bh)
        return;
    w = std::min(w, bw - l);
    h = std::min(h, bh - t);
    const int ia = WeightTruncated(weight);
    if (ia <= 0)
        return;
    const long span = dest->GetRowSpan();
    const Area area{bits + t * span + l, span, int(w), int(h)};
    switch (OperationOf(mode)) {
    case kOpCopy: FillCopy(area, colour, ia); break;
    case kOpAdd: FillRows(area, [colour, ia](std::uint32_t d) { return AddChannels(d, colour, ia, ia); }); break;
    case kOpDodge: FillRows(area, [colour, ia](std::uint32_t d) { return DodgeChannels(d, colour, ia, ia); }); break;
    default: break;  // reserved operations draw nothing
    }
}

}  // namespace pix
