#include "Line.h"

#include <algorithm>
#include <cstdlib>

#include "FloatConvert.h"
#include "Pens.h"

namespace pix {
namespace {

struct Segment {
    long long x1, y1, x2, y2;
};

int RegionCode(long long x, long long y, long long W, long long H)
{
    int code = 0;
    if (x < 0)
        code |= 1;
    else if (x >= W)
        code |= 2;
    if (y < 0)
        code |= 4;
    else if (y >= H)
        code |= 8;
    return code;
}

// Moves out-of-bitmap ends onto its edges; false when nothing is left.
bool ClipSegment(Segment& g, long long W, long long H)
{
    int c1 = RegionCode(g.x1, g.y1, W, H), c2 = RegionCode(g.x2, g.y2, W, H);
    for (int moves = 0; c1 | c2; ++moves) {
        if ((c1 & c2) || moves == 33)
            return false;
        const int code = c1 ? c1 : c2;
        const double dx = double(g.x2 - g.x1), dy = double(g.y2 - g.y1);
        long long x, y;
        if (code & 8) {
            x = g.x1 + TruncSaturated(dx * double(H - g.y1) / dy, kCoordLimit);
            y = H - 1;
        } else if (code & 4) {
            x = g.x1 - TruncSaturated(dx * double(g.y1) / dy, kCoordLimit);
            y = 0;
        } else if (code & 2) {
            x = W - 1;
            y = g.y1 + TruncSaturated(dy * double(W - g.x1) / dx, kCoordLimit);
        } else {
            x = 0;
            y = g.y1 - TruncSaturated(dy * double(g.x1) / dx, kCoordLimit);
        }
        if (c1) {
            g.x1 = x, g.y1 = y;
            c1 = RegionCode(x, y, W, H);
        } else {
            g.x2 = x, g.y2 = y;
            c2 = RegionCode(x, y, W, H);
        }
    }
    return true;
}

// Applies op to count pixels from p, step apart.
template <typename Op>
void Run(std::uint32_t* p, long step, long long count, Op op)
{
    for (long long i = 0; i < count; ++i, p += step)
        *p = op(*p);
}

// Horizontal or vertical run; copies at 1.0, 0.5, 0.25 and 0.75 use the
// packed forms.
void Straight(std::uint32_t* p, long step, long long count, std::uint32_t c, float weight, int ia, std::uint32_t mode)
{
    if (OperationOf(mode) == kOpCopy) {
        if (weight == 1.0f)
            return Run(p, step, count, [c](std::uint32_t) { return c; });
        if (weight == 0.5f)
            return Run(p, step, count, [c](std::uint32_t d) { return PackedHalf(c, d); });
        if (weight == 0.25f)
            return Run(p, step, count, [c](std::uint32_t d) { return PackedQuarter(d, c); });
        if (weight == 0.75f)
            return Run(p, step, count, [c](std::uint32_t d) { return PackedThreeQuarters(d, c); });
    }
    WithPen(mode, c, ia,
            [&](const auto& pen) { Run(p, step, count, [&pen](std::uint32_t d) { return pen.Full(d); }); });
}

template <typename Pen>
void Diagonal(const Surface& s, const Segment& g, const Pen& pen, bool antialias, bool packed, int ia)
{
    const long long n = std::llabs(g.x2 - g.x1);
    const int sx = g.x2 > g.x1 ? 1 : -1, sy = g.y2 > g.y1 ? 1 : -1;
    const int main = ia * 3 / 4, side = ia / 4;
    for (long long i = 0; i <= n; ++i) {
        const long long x = g.x1 + i * sx, y = g.y1 + i * sy;
        if (!antialias) {
            s.Full(pen, x, y);
            continue;
        }
        if (packed) {
            const std::uint32_t c = pen.c;
            s.At(x, y) = PackedThreeQuarters(s.At(x, y), c);
            if (i == n)
                break;
            if (s.Contains(x + sx, y))
                s.At(x + sx, y) = PackedQuarter(s.At(x + sx, y), c);
            if (s.Contains(x, y + sy))
                s.At(x, y + sy) = PackedQuarter(s.At(x, y + sy), c);
        } else {
            s.Cover(pen, x, y, main);
            if (i == n)
                break;
            s.Cover(pen, x + sx, y, side);
            s.Cover(pen, x, y + sy, side);
        }
    }
}

// Any other slope: drawn from both ends towards the middle.
template <typename Pen>
void Sloped(const Surface& s, const Segment& g, const Pen& pen, bool antialias, int ia)
{
    const long long dx = g.x2 - g.x1, dy = g.y2 - g.y1;
    const bool xMajor = std::llabs(dx) > std::llabs(dy);
    const long long M = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    const long long slope = static_cast<long long>(double(minor) / double(M) * 65536.0);
    const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    // Steps along the major and the minor axis.
    const int mx = xMajor ? sx : 0, my = xMajor ? 0 : sy;
    const int nx = xMajor ? 0 : sx, ny = xMajor ? sy : 0;

    if (!antialias) {
        long long ax = g.x1, ay = g.y1, bx = g.x2, by = g.y2, acc = 0;
        for (long long left = M + 1; left > 0; left -= 2) {
            s.Full(pen, ax, ay);
            if (left == 1)
                break;
            s.Full(pen, bx, by);
            ax += mx, ay += my, bx -= mx, by -= my;
            acc += slope;
            if (acc >= 0x8000) {
                ax += nx, ay += ny, bx -= nx, by -= ny;
                acc -= 0x10000;
            }
        }
        return;
    }
    s.Full(pen, g.x1, g.y1);
    s.Full(pen, g.x2, g.y2);
    long long acc = slope;
    for (long long i = 1; i <= M - i; ++i, acc += slope) {
        const long long off = acc >> 16;
        const int g8 = int((acc & 0xFFFF) >> 8);
        int nearCover = 255 - g8, farCover = g8;
        if (ia < 256) {
            nearCover = nearCover * ia >> 8;
            farCover = ia * farCover >> 8;
        }
        const long long ax = g.x1 + i * mx + off * nx, ay = g.y1 + i * my + off * ny;
        s.Cover(pen, ax, ay, nearCover);
        s.Cover(pen, ax + nx, ay + ny, farCover);
        if (i == M - i)
            break;
        const long long bx = g.x2 - i * mx - off * nx, by = g.y2 - i * my - off * ny;
        s.Cover(pen, bx, by, nearCover);
        s.Cover(pen, bx - nx, by - ny, farCover);
    }
}

}  // namespace

void Line(PIX_IBitmap* dest, int x1, int y1, int x2, int y2, std::uint32_t colour, float weight, std::uint32_t mode,
          bool antialias)
{
    Surface s;
    if (!SurfaceOf(dest, s))
        return;
    const int ia = WeightTruncated(weight);
    if (ia == 0)
        return;
    Segment g{x1, y1, x2, y2};
    if (!ClipSegment(g, s.W, s.H))
        return;

    if (g.y1 == g.y2) {
        const long long l = std::min(g.x1, g.x2), r = std::max(g.x1, g.x2);
        return Straight(&s.At(l, g.y1), 1, r - l + 1, colour, weight, ia, mode);
    }
    if (g.x1 == g.x2) {
        const long long t = std::min(g.y1, g.y2), b = std::max(g.y1, g.y2);
        return Straight(&s.At(g.x1, t), s.span, b - t + 1, colour, weight, ia, mode);
    }
    if (std::llabs(g.x2 - g.x1) == std::llabs(g.y2 - g.y1)) {
        const bool packed = antialias && OperationOf(mode) == kOpCopy && weight == 1.0f;
        WithPen(mode, colour, ia, [&](const auto& pen) { Diagonal(s, g, pen, antialias, packed, ia); });
        return;
    }
    WithPen(mode, colour, ia, [&](const auto& pen) { Sloped(s, g, pen, antialias, ia); });
}

}  // namespace pix
