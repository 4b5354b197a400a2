// IBox: an integer rectangle in editor pixels (origin top-left, y downwards).
// Drawing treats R and B as exclusive; all four values 0 mean "empty".
#pragma once

#include <algorithm>

struct IBox {
    int L = 0, T = 0, R = 0, B = 0;

    int W() const { return R - L; }
    int H() const { return B - T; }
    bool IsEmpty() const { return L == 0 && T == 0 && R == 0 && B == 0; }

    // Strict overlap test used by intersection and redraw decisions.
    bool Overlaps(const IBox& o) const
    {
        return !IsEmpty() && !o.IsEmpty() && L < o.R && o.L < R && T < o.B && o.T < B;
    }

    // Common part of two rectangles, or the empty rectangle.
    IBox Intersect(const IBox& o) const
    {
        if (!Overlaps(o))
            return IBox{};
        return IBox{std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B)};
    }

    // Bounding box of two rectangles; an empty one contributes nothing.
    IBox Union(const IBox& o) const
    {
        if (IsEmpty())
            return o;
        if (o.IsEmpty())
            return *this;
        return IBox{std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B)};
    }

    bool operator==(const IBox&) const = default;
};
