// IDrawRect: a flat-coloured bar inside a fixed area, the oscillators' range bars. The area is
// what gets redrawn (background first) when the bar moves, so a shrinking bar leaves no trace.
#pragma once

#include "controls/IControl.h"
#include "graphics/IArgb.h"

class IDrawRect : public IControl {
public:
    // area: where the bar may lie; barRect: the part filled at first. No parameter.
    IDrawRect(IEditHost* host, const IBox& area, const IArgb& colour, const IBox& barRect);

    // Moves the bar; marks the control dirty even when the rectangle is unchanged.
    void SetBarRect(const IBox& r);
    // An empty bar at the current bar's origin.
    void CollapseBar();
    // Fills the bar (the part of it inside the area) with the colour's own alpha.
    bool Draw(IGraphics& graphics) override;

    const IBox& BarRect() const { return barRect; }

private:
    IArgb colour;
    IBox barRect;
};
