// IKnobRotVal: a knob drawn as one image rotated about a fixed centre, with the parameter's
// value written underneath. It dims while the pointer is over it and can snap to a fixed number
// of positions when the mouse is released.
#pragma once

#include "controls/IKnobControl.h"
#include "graphics/ITextStyle.h"

class IKnobRotVal : public IKnobControl {
public:
    // Centred on (x, y). width 0 takes the width of one image frame. sweep: total rotation in
    // degrees. hoverDim: opacity taken away while hovered. showLabel appends the parameter's unit.
    // steps: number of snap positions on release; 0 or 1 means continuous.
    IKnobRotVal(IEditHost* host, int paramIdx, int x, int y, const IImage& bitmap, const ITextStyle& text, int textGap,
                int sweep, double gearing, int width, int direction, float hoverDim, bool showLabel, int steps);

    void OnMouseUp(int x, int y, const IMouseState& mod) override;
    void OnMouseOver(int x, int y, const IMouseState& mod) override;
    void OnMouseOut() override;
    // The value text, then the rotated image.
    bool Draw(IGraphics& graphics) override;

    // Rotation in radians for the current value: -sweep/2 degrees at 0, upright at 0.5.
    double Angle() const;
    bool IsHovered() const { return hovered; }

private:
    ITextStyle text;
    IImage bitmap;
    int centreX;
    int centreY;
    int textGap;
    int sweep;
    short steps;  // positions minus one; 0 or less: continuous
    float hoverDim;
    bool showLabel;
    bool hovered = false;
    IBlend drawBlend;
};
