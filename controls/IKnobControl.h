// IKnobControl: the common base of the editor's knobs. It turns mouse drags into value changes
// (vertical or horizontal, with a finer gearing while Ctrl or Shift is held) and computes the
// knob rectangle from its centre, its image and the value text below it.
#pragma once

#include "controls/IControl.h"
#include "graphics/IImage.h"

class IKnobControl : public IControl {
public:
    // direction 0 drags vertically (up raises the value), any other value horizontally (right
    // raises it); gearing is the pointer travel, in control extents, that covers 0..1.
    IKnobControl(IEditHost* host, int paramIdx, int direction, double gearing);

    void OnMouseDrag(int x, int y, int dX, int dY, const IMouseState& mod) override;

protected:
    // The rectangle of a knob centred on (x, y): `width` wide (one image frame when 0), the
    // image's height, and below it the value text area of textGap + textSize when textGap >= 0.
    static IBox KnobRect(int x, int y, const IImage& bitmap, int width, int textSize, int textGap);
    // Writes the parameter's display text for its current value, then `label` when given and
    // non-empty, into `out` (kValueTextSize bytes, always terminated; the label is cut to fit).
    // Answers false, with `out` empty, when there is no parameter or no display text.
    bool FormatValueText(char* out, bool appendLabel) const;

    static constexpr int kValueTextSize = 32;

    int direction;
    double gearing;
};
