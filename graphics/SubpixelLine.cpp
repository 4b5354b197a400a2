#include <cmath>

#include "FloatConvert.h"
#include "Line.h"
#include "Pens.h"

namespace pix {
namespace {

int RegionCode(float x, float y, float W, float H)
{
    int code = 0;
    if (x < 0)
        code |= 1;
    else if (x >= W - 1)
        code |= 2;
    if (y < 0)
        code |= 4;
    else if (y >= H - 1)
        code |= 8;
    return code;
}

// Clips to x in [0, W - 1), y in [0, H - 1) so that the second pixel of
// every anti-aliased pair stays inside the bitmap.
bool ClipSegment(float& x1, float& y1, float& x2, float& y2, float W, float H)
{
    int c1 = RegionCode(x1, y1, W, H), c2 = RegionCode(x2, y2, W, H);
    for (int moves = 0; c1 | c2; ++moves) {
        if ((c1 & c2) || moves == 33)
            return false;
        const int code = c1 ? c1 : c2;
        const float dx = x2 - x1, dy = y2 - y1;
        float x, y;
        if (code & 8) {
            x = x1 + dx * (H - 1 - y1) / dy;
            y = H - 2;
        } else if (code & 4) {
            x = x1 - dx * y1 / dy;
            y = 0;
        } else if (code & 2) {
            x = W - 2;
            y = y1 + dy * (W - 1 - x1) / dx;
        } else {
            x = 0;
            y = y1 - dy * x1 / dx;
        }
        if (!std::isfinite(x) || !std::isfinite(y))
            return false;
        if (c1) {
            x1 = x, y1 = y;
            c1 = RegionCode(x, y, W, H);
        } else {
            x2 = x, y2 = y;
            c2 = RegionCode(x, y, W, H);
        }
    }
    return true;
}

template <typename Pen>
void Draw(const Surface& s, float x1, float y1, float x2, float y2, const Pen& pen, int ia)
{
    const bool xMajor = std::fabs(x2 - x1) > std::fabs(y2 - y1);
    float a0 = xMajor ? x1 : y1, a1 = xMajor ? x2 : y2;  // major coordinates
    float b0 = xMajor ? y1 : x1, b1 = xMajor ? y2 : x2;  // minor coordinates
    if (a1 < a0) {
        std::swap(a0, a1);
        std::swap(b0, b1);
    }
    const float slope = (b1 - b0) / (a1 - a0);
    const int minorStep = b1 < b0 ? -1 : 1;
    const float first = std::ceil(a0), last = std::floor(a1);
    const long long count = TruncSaturated(double(last) - double(first) + 1, kCoordLimit);
    if (count <= 0)
        return;
    const float m = b0 + (first - a0) * slope;
    long long minor = TruncSaturated(std::floor(m), kCoordLimit);
    long long f = TruncSaturated((double(m) - std::floor(double(m))) * 65536.0, 0xFFFF);
    if (minorStep < 0) {
        f = 0xFFFF - f;
        minor += 1;
    }
    const long long step = TruncSaturated(std::fabs(double(slope)) * 65536.0, 0x10000);
    long long major = TruncSaturated(first, kCoordLimit);
    for (long long i = 0; i < count; ++i, ++major) {
        const int g8 = int(f >> 8);
        int nearCover = 255 - g8, farCover = g8;
        if (ia < 256) {
            nearCover = nearCover * ia >> 8;
            farCover = ia * farCover >> 8;
        }
        if (xMajor) {
            s.Cover(pen, major, minor, nearCover);
            s.Cover(pen, major, minor + minorStep, farCover);
        } else {
            s.Cover(pen, minor, major, nearCover);
            s.Cover(pen, minor + minorStep, major, farCover);
        }
        f += step;
        if (f >= 0x10000) {
            minor += minorStep;
            f -= 0x10000;
        }
    }
}

}  // namespace

void SubpixelLine(PIX_IBitmap* dest, float x1, float y1, float x2, float y2, std::uint32_t colour, float weight,
                  std::uint32_t mode, bool antialias)
{
    if (!antialias) {
        Line(dest, int(TruncSaturated(x1, kCoordLimit)), int(TruncSaturated(y1, kCoordLimit)),
             int(TruncSaturated(x2, kCoordLimit)), int(TruncSaturated(y2, kCoordLimit)), colour, weight, mode, false);
        return;
    }
    Surface s;
    if (!SurfaceOf(dest, s) || s.W < 2 || s.H < 2)
        return;
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    const int ia = WeightTruncated(weight);
    if (ia == 0)
        return;
    if (!ClipSegment(x1, y1, x2, y2, float(s.W), float(s.H)))
        return;
    if (x1 == x2 && y1 == y2)
        return;
    WithPen(mode, colour, ia, [&](const auto& pen) { Draw(s, x1, y1, x2, y2, pen, ia); });
}

}  // namespace pix
