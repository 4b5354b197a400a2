#include "Blit.h"

#include <algorithm>
#include <cstring>

#include "PixelOps.h"
#include "RasterMode.h"
#include "SimdSpans.h"

namespace pix {
namespace {

struct Span {
    const std::uint32_t* src;
    std::uint32_t* dst;
    long srcSpan, dstSpan;
    int width, height;
};

// One loop per blend: op(d, s) gives the new destination pixel.
template <typename Op>
void BlendRows(const Span& a, Op op)
{
    const std::uint32_t* s = a.src;
    std::uint32_t* d = a.dst;
    for (int y = 0; y < a.height; ++y, s += a.srcSpan, d += a.dstSpan) {
        const std::uint32_t* __restrict sr = s;
        std::uint32_t* __restrict dr = d;
        for (int x = 0; x < a.width; ++x)
            dr[x] = op(dr[x], sr[x]);
    }
}

// Source-alpha copy at full weight: four pixels at a time, then the rest.
void CopySourceAlphaRows(const Span& a)
{
    const std::uint32_t* s = a.src;
    std::uint32_t* d = a.dst;
    for (int y = 0; y < a.height; ++y, s += a.srcSpan, d += a.dstSpan)
        for (int x = CopySourceAlphaFullSpan(d, s, a.width); x < a.width; ++x)
            d[x] = CopySourceAlphaFull(d[x], s[x]);
}

void CopyRows(const Span& a)
{
    const std::uint32_t* s = a.src;
    std::uint32_t* d = a.dst;
    for (int y = 0; y < a.height; ++y, s += a.srcSpan, d += a.dstSpan)
        std::memcpy(d, s, std::size_t(a.width) * 4);
}

void Dispatch(const Span& a, float weight, std::uint32_t mode)
{
    const int ia = WeightTruncated(weight);
    const std::uint32_t op = OperationOf(mode);
    if (op == kOpCopy && !UsesAlpha(mode)) {
        if (weight == 1.0f || ia == 256) {
            CopyRows(a);
        } else if (weight == 0.5f) {
            BlendRows(a, [](std::uint32_t d, std::uint32_t s) { return PackedHalf(s, d); });
        } else if (ia > 0) {
            BlendRows(a, [ia](std::uint32_t d, std::uint32_t s) { return CopyWeighted(d, s, ia); });
        }
        return;
    }
    if (ia <= 0)
        return;
    switch (op) {
    case kOpCopy:
        if (ia == 256)
            CopySourceAlphaRows(a);
        else
            BlendRows(a, [ia](std::uint32_t d, std::uint32_t s) { return CopySourceAlpha(d, s, ia); });
        break;
    case kOpAdd: BlendRows(a, [ia](std::uint32_t d, std::uint32_t s) { return AddSourceAlpha(d, s, ia); }); break;
    case kOpDodge: BlendRows(a, [ia](std::uint32_t d, std::uint32_t s) { return DodgeSourceAlpha(d, s, ia); }); break;
    default: break;  // reserved operations draw nothing
    }
}

}  // namespace

void Blit(PIX_IBitmap* dest, const PIX_IBitmap* src, int dstX, int dstY, const IBox* srcRect, float weight,
          std::uint32_t mode)
{
    if (!dest || !src || weight == 0.0f || dest == src)
        return;
    const long long srcW = src->GetWidth(), srcH = src->GetHeight();
    const long long dstW = dest->GetWidth(), dstH = dest->GetHeight();
    long long l = 0, t = 0, r = srcW, b = srcH;
    if (srcRect) {
        l = srcRect->L;
        t = srcRect->T;
        r = std::min<long long>(srcRect->R, srcW);
        b = std::min<long long>(srcRect->B, srcH);
    }
    long long x = dstX, y = dstY;
    if (l < 0) {
        x -= l;
        l = 0;
    }
    if (t < 0) {
        y -= t;
        t = 0;
    }
    if (x < 0) {
        l -= x;
        x = 0;
    }
    if (y < 0) {
        t -= y;
        y = 0;
    }
    if (l >= r || t >= b || x >= dstW || y >= dstH)
        return;
    const long long w = std::min(r - l, dstW - x), h = std::min(b - t, dstH - y);
    if (w <= 0 || h <= 0)
        return;
    const std::uint32_t* sBits = src->GetBits();
    std::uint32_t* dBits = dest->GetBits();
    if (!sBits || !dBits)
        return;
    const long srcSpan = src->GetRowSpan(), dstSpan = dest->GetRowSpan();
    Span span{sBits + t * srcSpan + l, dBits + y * dstSpan + x, srcSpan, dstSpan, int(w), int(h)};
    Dispatch(span, weight, mode);
}

void Blit(PIX_IBitmap* dest, const PIX_IBitmap* src, int dstX, int dstY, int srcX, int srcY, int width, int height,
          float weight, std::uint32_t mode)
{
    const auto clampInt = [](long long v) { return int(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); };
    const IBox rect{srcX, srcY, clampInt(static_cast<long long>(srcX) + width),
                    clampInt(static_cast<long long>(srcY) + height)};
    Blit(dest, src, dstX, dstY, &rect, weight, mode);
}

}  // namespace pix
