#include "CircleRaster.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "FloatConvert.h"

namespace pix {
namespace {

// Pixel and span output clipped to the box.
template <typename Pen>
struct Plotter {
    const Surface& s;
    const ClipBox& box;
    const Pen& pen;
    bool cover;  // anti-aliased: the copy of full-weight pixels uses the mix formula
    int ia;

    bool Inside(long long x, long long y) const { return x >= box.L && x < box.R && y >= box.T && y < box.B; }
    void Pixel(long long x, long long y) const
    {
        if (!Inside(x, y))
            return;
        std::uint32_t& d = s.At(x, y);
        d = cover ? pen.Cover(d, ia) : pen.Full(d);
    }
    void Weighted(long long x, long long y, int w) const
    {
        if (w > 0 && Inside(x, y))
            s.At(x, y) = pen.Cover(s.At(x, y), w);
    }
    void Row(long long y, long long x0, long long x1) const
    {  // x0..x1 inclusive
        if (y < box.T || y >= box.B)
            return;
        x0 = std::max(x0, box.L);
        x1 = std::min(x1, box.R - 1);
        for (long long x = x0; x <= x1; ++x)
            Pixel(x, y);
    }
    void Column(long long x, long long y0, long long y1) const
    {
        if (x < box.L || x >= box.R)
            return;
        y0 = std::max(y0, box.T);
        y1 = std::min(y1, box.B - 1);
        for (long long y = y0; y <= y1; ++y)
            Pixel(x, y);
    }
    // The disc's spans for one step of x with half-height y.
    void DiscStep(long long xc, long long yc, long long x, long long y) const
    {
        Column(xc + x, yc - y, yc - x - 1);
        Column(xc + x, yc + x + 1, yc + y);
        Column(xc - x, yc - y, yc - x - 1);
        Column(xc - x, yc + x + 1, yc + y);
        Row(yc + x, xc - y, xc - x);
        Row(yc + x, xc + x, xc + y);
        Row(yc - x, xc - y, xc - x);
        Row(yc - x, xc + x, xc + y);
    }
    void DiscAxes(long long xc, long long yc, long long r) const
    {
        Column(xc, yc - r, yc - 1);
        Column(xc, yc + 1, yc + r);
        Row(yc, xc - r, xc + r);
    }
    void Four(long long xc, long long yc, long long x, long long y, int w) const
    {
        Weighted(xc + x, yc + y, w);
        Weighted(xc - x, yc + y, w);
        Weighted(xc + x, yc - y, w);
        Weighted(xc - x, yc - y, w);
    }
};

template <typename Pen>
void Midpoint(const Plotter<Pen>& p, long long xc, long long yc, long long t, bool filled)
{
    if (filled) {
        p.DiscAxes(xc, yc, t);
    } else {
        p.Pixel(xc, yc - t);
        p.Pixel(xc + t, yc);
        p.Pixel(xc, yc + t);
        p.Pixel(xc - t, yc);
    }
    long long y = t, d = -t;
    for (long long x = 1; x < y; ++x) {
        const long long oldY = y;
        const bool stepDown = d >= 0;
        if (stepDown)
            --y;
        if (filled) {
            p.DiscStep(xc, yc, x, y);
        } else {
            p.Pixel(xc + x, yc + y), p.Pixel(xc - x, yc + y), p.Pixel(xc + x, yc - y), p.Pixel(xc - x, yc - y);
            if (x != y)
                p.Pixel(xc + y, yc + x), p.Pixel(xc - y, yc + x), p.Pixel(xc + y, yc - x), p.Pixel(xc - y, yc - x);
        }
        d += stepDown ? 2 * (x - oldY) + 3 : 2 * x + 1;
    }
}

template <typename Pen>
void Smooth(const Plotter<Pen>& p, long long xc, long long yc, float radius, bool filled)
{
    const int ia = p.ia;
    const long long R = TruncSaturated(radius, kCoordLimit);
    const double f = double(radius) - std::floor(double(radius));
    const int outer = int(f * ia);
    p.Weighted(xc, yc - R - 1, outer);
    p.Weighted(xc, yc + R + 1, outer);
    p.Weighted(xc - R - 1, yc, outer);
    p.Weighted(xc + R + 1, yc, outer);
    if (filled) {
        p.DiscAxes(xc, yc, R);
    } else {
        p.Weighted(xc, yc - R, ia - outer);
        p.Weighted(xc, yc + R, ia - outer);
        p.Weighted(xc - R, yc, ia - outer);
        p.Weighted(xc + R, yc, ia - outer);
    }
    const double r2 = double(radius) * double(radius);
    for (long long x = 1; double(x) * double(x) <= r2; ++x) {
        const double h = std::sqrt(r2 - double(x) * double(x));
        const long long Y = static_cast<long long>(h);
        const long long limit = static_cast<long long>(h + 0.5);
        if (x > limit)
            break;
        const int w = int((h - std::floor(h)) * ia);
        p.Four(xc, yc, x, Y + 1, w);
        if (filled)
            p.DiscStep(xc, yc, x, Y);
        else
            p.Four(xc, yc, x, Y, ia - w);
        if (x != limit) {
            p.Four(xc, yc, Y + 1, x, w);
            if (!filled)
                p.Four(xc, yc, Y, x, ia - w);
        }
    }
}

}  // namespace

void DrawCircle(const Surface& surface, const CircleSpec& c, const ClipBox& clip)
{
    if (clip.L >= clip.R || clip.T >= clip.B || c.ia <= 0)
        return;
    if (!std::isfinite(c.cx) || !std::isfinite(c.cy) || !std::isfinite(c.radius) || c.radius < 0 ||
        c.radius > kMaxRadius)
        return;
    const long long xc = TruncSaturated(double(c.cx) + 0.5, kCoordLimit);
    const long long yc = TruncSaturated(double(c.cy) + 0.5, kCoordLimit);
    WithPen(c.mode, c.colour, c.ia, [&](const auto& pen) {
        const Plotter<std::decay_t<decltype(pen)>> p{surface, clip, pen, c.antialias, c.ia};
        if (c.antialias)
            Smooth(p, xc, yc, c.radius, c.filled);
        else
            Midpoint(p, xc, yc, TruncSaturated(double(c.radius) + 0.5, kCoordLimit), c.filled);
    });
}

}  // namespace pix
