#include "Arc.h"

#include <algorithm>
#include <cmath>

#include "CircleRaster.h"
#include "FloatConvert.h"

namespace pix {
namespace {

// 2 pi and pi / 2 as their single-precision values, used in double.
constexpr double kTwoPi = 6.2831854820251465;
constexpr double kHalfPi = 1.5707963705062866;

// Clip box of one piece (never crossing a multiple of pi / 2): the box of its
// two end points, widened by one on the side away from the centre.
ClipBox PieceBox(const Surface& s, float cx, float cy, float radius, double a, double b)
{
    const auto at = [&](double t, long long& x, long long& y) {
        x = TruncSaturated(double(cx) + double(radius) * std::sin(t) + 0.5, kCoordLimit);
        y = TruncSaturated(double(cy) - double(radius) * std::cos(t) + 0.5, kCoordLimit);
    };
    long long x1, y1, x2, y2;
    at(a, x1, y1);
    at(b, x2, y2);
    long long minX = std::min(x1, x2), maxX = std::max(x1, x2);
    long long minY = std::min(y1, y2), maxY = std::max(y1, y2);
    if (double(maxX) != double(cx))
        ++maxX;
    if (double(maxY) != double(cy))
        ++maxY;
    return ClipBox{std::max(minX, 0LL), std::max(minY, 0LL), std::min<long long>(maxX + 1, s.W),
                   std::min<long long>(maxY + 1, s.H)};
}

void ArcOrSector(PIX_IBitmap* dest, float cx, float cy, float radius, float minAngle, float maxAngle,
                 std::uint32_t colour, float weight, std::uint32_t mode, bool antialias, bool filled)
{
    Surface s;
    if (!SurfaceOf(dest, s))
        return;
    if (!std::isfinite(minAngle) || !std::isfinite(maxAngle))
        return;
    if (maxAngle < minAngle)
        std::swap(minAngle, maxAngle);
    const int ia = WeightTruncated(weight);
    if (ia == 0)
        return;
    const CircleSpec circle{cx, cy, radius, colour, ia, mode, antialias, filled};
    if (maxAngle - minAngle >= 6.2831855f) {
        DrawCircle(s, circle, ClipBox{0, 0, s.W, s.H});
        return;
    }
    if (std::fabs(minAngle) > float(kTwoPi) || std::fabs(maxAngle) > float(kTwoPi)) {
        const float span = maxAngle - minAngle;
        minAngle = std::fmod(minAngle, float(kTwoPi));
        maxAngle = minAngle + span;
    }
    double a = double(minAngle) + kTwoPi;
    const double e = double(maxAngle) + kTwoPi;
    double boundary = a - std::fmod(a, kHalfPi);
    while (a < e) {
        boundary += kHalfPi;
        const double next = std::min(boundary, e);
        DrawCircle(s, circle, PieceBox(s, cx, cy, radius, a, next));
        a = next;
    }
}

}  // namespace

void Arc(PIX_IBitmap* dest, float cx, float cy, float radius, float minAngle, float maxAngle, std::uint32_t colour,
         float weight, std::uint32_t mode, bool antialias)
{
    ArcOrSector(dest, cx, cy, radius, minAngle, maxAngle, colour, weight, mode, antialias, false);
}

void FillArc(PIX_IBitmap* dest, float cx, float cy, float radius, float minAngle, float maxAngle, std::uint32_t colour,
             float weight, std::uint32_t mode, bool antialias)
{
    ArcOrSector(dest, cx, cy, radius, minAngle, maxAngle, colour, weight, mode, antialias, true);
}

}  // namespace pix
