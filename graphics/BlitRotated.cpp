#include "BlitRotated.h"

#include <algorithm>
#include <cmath>

#include "FloatConvert.h"
#include "PixelOps.h"
#include "RasterMode.h"

namespace pix {
namespace {

// Source window (the clip rectangle) and the destination rows to fill, with
// the source point and its steps in 16.16 fixed point relative to the window.
struct Walk {
    const std::uint32_t* src;  // pixel (0, 0) of the window
    long srcSpan;
    long long W, H;
    std::uint32_t* dst;
    long dstSpan;
    int width, height;
    long long s0, t0, dsdx, dtdx, dsdy, dtdy;
};

// Two channels per 64-bit word, 32-bit lanes, so 16-bit weights cannot
// carry into the next channel.
inline std::uint64_t SpreadLow(std::uint32_t p) { return (p & 0xFF) | std::uint64_t(p & 0xFF0000) << 16; }
inline std::uint64_t SpreadHigh(std::uint32_t p) { return ((p >> 8) & 0xFF) | std::uint64_t((p >> 24) & 0xFF) << 32; }
inline std::uint32_t Gather(std::uint64_t low, std::uint64_t high)
{
    return std::uint32_t((low >> 16) & 0xFF) | std::uint32_t((low >> 48) & 0xFF) << 16 |
           std::uint32_t((high >> 16) & 0xFF) << 8 | std::uint32_t((high >> 48) & 0xFF) << 24;
}

inline std::uint32_t Mix2(std::uint32_t a, std::uint32_t b, std::uint32_t f)
{
    const std::uint32_t g = 65536 - f;
    return Gather(SpreadLow(a) * g + SpreadLow(b) * f, SpreadHigh(a) * g + SpreadHigh(b) * f);
}

inline std::uint32_t Mix4(const std::uint32_t* p, long span, std::uint32_t fu, std::uint32_t fv)
{
    const std::uint32_t q = std::uint32_t((std::uint64_t(fu) * fv) >> 16);
    const std::uint32_t w00 = 65536 - fu - fv + q, w10 = fu - q, w01 = fv - q, w11 = q;
    const std::uint32_t a = p[0], b = p[1], c = p[span], d = p[span + 1];
    const std::uint64_t low = SpreadLow(a) * w00 + SpreadLow(b) * w10 + SpreadLow(c) * w01 + SpreadLow(d) * w11;
    const std::uint64_t high = SpreadHigh(a) * w00 + SpreadHigh(b) * w10 + SpreadHigh(c) * w01 + SpreadHigh(d) * w11;
    return Gather(low, high);
}

template <typename Op>
void Nearest(const Walk& k, Op op)
{
    long long rs = k.s0, rt = k.t0;
    std::uint32_t* row = k.dst;
    for (int y = 0; y < k.height; ++y, rs += k.dsdy, rt += k.dtdy, row += k.dstSpan) {
        long long s = rs, t = rt;
        for (int x = 0; x < k.width; ++x, s += k.dsdx, t += k.dtdx) {
            const unsigned long long u = static_cast<unsigned long long>(s >> 16);
            const unsigned long long v = static_cast<unsigned long long>(t >> 16);
            if (u < static_cast<unsigned long long>(k.W) && v < static_cast<unsigned long long>(k.H))
                row[x] = op(row[x], k.src[long(v) * k.srcSpan + long(u)]);
        }
    }
}

template <typename Op>
void Bilinear(const Walk& k, Op op)
{
    const unsigned long long lastU = static_cast<unsigned long long>(k.W - 1);
    const unsigned long long lastV = static_cast<unsigned long long>(k.H - 1);
    long long rs = k.s0, rt = k.t0;
    std::uint32_t* row = k.dst;
    for (int y = 0; y < k.height; ++y, rs += k.dsdy, rt += k.dtdy, row += k.dstSpan) {
        long long s = rs, t = rt;
        for (int x = 0; x < k.width; ++x, s += k.dsdx, t += k.dtdx) {
            const unsigned long long u = static_cast<unsigned long long>(s >> 16);
            const unsigned long long v = static_cast<unsigned long long>(t >> 16);
            const std::uint32_t fu = std::uint32_t(s & 0xFFFF), fv = std::uint32_t(t & 0xFFFF);
            if (v > lastV || u > lastU)
                continue;
            const std::uint32_t* p = k.src + long(v) * k.srcSpan + long(u);
            std::uint32_t sample;
            if (v < lastV)
                sample = u < lastU ? Mix4(p, k.srcSpan, fu, fv) : Mix2(p[0], p[k.srcSpan], fv);
            else
                sample = u < lastU ? Mix2(p[0], p[1], fu) : p[0];
            row[x] = op(row[x], sample);
        }
    }
}

template <typename Op>
void Run(const Walk& k, bool bilinear, Op op)
{
    if (bilinear)
        Bilinear(k, op);
    else
        Nearest(k, op);
}

void Dispatch(const Walk& k, std::uint32_t mode, int ia)
{
    const bool bilinear = IsBilinear(mode);
    const std::uint32_t op = OperationOf(mode);
    if (op == kOpCopy && !UsesAlpha(mode)) {
        if (ia == 256)
            Run(k, bilinear, [](std::uint32_t, std::uint32_t s) { return s; });
        else
            Run(k, bilinear, [ia](std::uint32_t d, std::uint32_t s) { return CopyWeighted(d, s, ia); });
        return;
    }
    switch (op) {
    case kOpCopy:
        if (ia == 256)
            Run(k, bilinear, [](std::uint32_t d, std::uint32_t s) { return CopySourceAlphaFull(d, s); });
        else
            Run(k, bilinear, [ia](std::uint32_t d, std::uint32_t s) { return CopySourceAlpha(d, s, ia); });
        break;
    case kOpAdd: Run(k, bilinear, [ia](std::uint32_t d, std::uint32_t s) { return AddSourceAlpha(d, s, ia); }); break;
    case kOpDodge:
        Run(k, bilinear, [ia](std::uint32_t d, std::uint32_t s) { return DodgeSourceAlpha(d, s, ia); });
        break;
    default: break;  // reserved operations draw nothing
    }
}

// Fixed-point values are kept within +-2^31 so that a whole row of steps
// stays far inside 64 bits.
constexpr long long kFixedLimit = 1LL << 31;
inline long long ToFixed(float v) { return RoundSaturated(double(v) * 65536.0, kFixedLimit); }

// A fixed-point start moved by whole destination columns and rows. Skips are at most a
// destination's size, so the result is kept within +-2^40, still far inside 64 bits with a
// row of steps added; a start that far out samples nothing.
inline long long Advanced(long long start, long long columns, long long columnStep, long long rows, long long rowStep)
{
    constexpr long long kLimit = 1LL << 40;
    const long long c = std::clamp(columns, 0LL, kFixedLimit) * columnStep;
    const long long r = std::clamp(rows, 0LL, kFixedLimit) * rowStep;
    return std::clamp(start + std::clamp(c, -kLimit, kLimit) + std::clamp(r, -kLimit, kLimit), -kLimit, kLimit);
}

}  // namespace

void BlitRotated(PIX_IBitmap* dest, const PIX_IBitmap* src, int dstX, int dstY, int dstW, int dstH, float srcX,
                 float srcY, float srcW, float srcH, float angle, bool clipToSourceRect, float weight,
                 std::uint32_t mode, float rotCentreX, float rotCentreY)
{
    if (!dest || !src || dstW == 0 || dstH == 0 || dest == src)
        return;
    const float sw = float(src->GetWidth()), sh = float(src->GetHeight());
    float clipL = 0, clipT = 0, clipR = sw, clipB = sh;
    if (clipToSourceRect) {
        clipL = std::max(srcX, 0.0f);
        clipT = std::max(srcY, 0.0f);
        clipR = std::min(srcX + srcW, sw);
        clipB = std::min(srcY + srcH, sh);
    }
    long long dx = dstX, dy = dstY, dw = dstW, dh = dstH;
    if (dw < 0) {
        srcX += srcW;
        srcW = -srcW;
        dx += dw;
        dw = -dw;
    }
    if (dh < 0) {
        srcY += srcH;
        srcH = -srcH;
        dy += dh;
        dh = -dh;
    }
    const float c = std::cos(angle), s = std::sin(angle);
    const float xs = srcW / float(dw), ys = srcH / float(dh);
    const float dsdx = xs * c, dtdx = -ys * s, dsdy = xs * s, dtdy = ys * c;
    srcX -= ((float(dw) * dsdx + float(dh) * dsdy) - srcW) * 0.5f - rotCentreX;
    srcY -= ((float(dw) * dtdx + float(dh) * dtdy) - srcH) * 0.5f - rotCentreY;
    // A non-finite angle, size or offset has no defined picture: draw nothing.
    for (float v : {srcX, srcY, dsdx, dtdx, dsdy, dtdy, clipL, clipT, clipR, clipB})
        if (!std::isfinite(v))
            return;
    // Destination columns and rows cut off at the left and top are skipped in fixed point below,
    // so that every pixel samples the same source point however the destination is clipped.
    long long skipX = 0, skipY = 0;
    if (dx < 0) {
        dw += dx;
        skipX = -dx;
        dx = 0;
    }
    if (dy < 0) {
        dh += dy;
        skipY = -dy;
        dy = 0;
    }
    const long long destW = dest->GetWidth(), destH = dest->GetHeight();
    if (dw <= 0 || dh <= 0 || dx >= destW || dy >= destH)
        return;
    dw = std::min(dw, destW - dx);
    dh = std::min(dh, destH - dy);

    const long long l = RoundSaturated(clipL, kCoordLimit), t = RoundSaturated(clipT, kCoordLimit);
    const long long r = RoundSaturated(clipR, kCoordLimit), b = RoundSaturated(clipB, kCoordLimit);
    if (r <= l || b <= t)
        return;
    const int ia = WeightRounded(weight);
    const std::uint32_t* sBits = src->GetBits();
    std::uint32_t* dBits = dest->GetBits();
    if (ia == 0 || !sBits || !dBits)
        return;
    // Rounding cannot leave the source: the window lies inside it.
    if (l < 0 || t < 0 || r > src->GetWidth() || b > src->GetHeight())
        return;

    const long srcSpan = src->GetRowSpan(), dstSpan = dest->GetRowSpan();
    Walk walk{sBits + t * srcSpan + l,
                    srcSpan,
                    r - l,
                    b - t,
                    dBits + dy * dstSpan + dx,
                    dstSpan,
                    int(dw),
                    int(dh),
                    0,
                    0,
                    ToFixed(dsdx),
                    ToFixed(dtdx),
                    ToFixed(dsdy),
                    ToFixed(dtdy)};
    walk.s0 = Advanced(ToFixed(srcX - float(l)), skipX, walk.dsdx, skipY, walk.dsdy);
    walk.t0 = Advanced(ToFixed(srcY - float(t)), skipX, walk.dtdx, skipY, walk.dtdy);
    Dispatch(walk, mode, ia);
}

}  // namespace pix
