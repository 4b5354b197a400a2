// IKnobMulti: a multi-position knob that shows one frame of a filmstrip (frames side by side),
// chosen by its value, with the value text and the parameter's unit underneath. The editor uses
// it as the oscillator wave selector.
#pragma once

#include "controls/IKnobControl.h"
#include "graphics/ITextStyle.h"

class IKnobMulti : public IKnobControl {
public:
    // Centred on (x, y); width 0 takes one frame's width, a larger width widens the mouse target
    // but not the drawn frame.
    IKnobMulti(IEditHost* host, int paramIdx, int x, int y, const IImage& bitmap, const ITextStyle& text, int textGap,
               double gearing, int width, int direction);

    // The value text, then the frame of the current value.
    bool Draw(IGraphics& graphics) override;

    // 1-based frame shown for the current value.
    int Frame() const;

private:
    ITextStyle text;
    IImage bitmap;
    int centreX;
    int textGap;
};
