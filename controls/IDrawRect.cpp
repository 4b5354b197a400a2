#include "controls/IDrawRect.h"

#include "controls/IGraphics.h"

IDrawRect::IDrawRect(IEditHost* host, const IBox& area, const IArgb& fill, const IBox& bar)
    : IControl(host, -1), colour(fill), barRect(bar)
{
    rect = area;
    targetRect = area;
}

void IDrawRect::SetBarRect(const IBox& r)
{
    barRect = r;
    SetDirty(true);
}

void IDrawRect::CollapseBar()
{
    barRect.R = barRect.L;
    barRect.B = barRect.T;
    SetDirty(true);
}

bool IDrawRect::Draw(IGraphics& graphics)
{
    // Only the area is redrawn when the bar changes: a bar reaching outside it would leave
    // stale pixels behind, so it is cut to the area.
    const IBox fill = barRect.Intersect(rect);
    if (fill.IsEmpty())
        return true;
    return graphics.FillRect(colour, fill, nullptr);
}
