// The editor's side of one LFO's readout: once per frame it compares what the effect published
// with what its band label and range bar show, and updates them only when something moved on, so
// that they are redrawn exactly when the effect changed them. It places the swept gain range on
// the bar (LfoBarRect).
#pragma once

#include "controls/IFrameClient.h"
#include "graphics/IBox.h"

class IDrawRect;
class ITextControl;
class LfoReadout;

class LfoDisplay : public IFrameClient {
public:
    // The readout belongs to the effect, the controls to the graphics object that owns this; the
    // controls show the readout's present state at once. `barArea` is the bar's full extent.
    LfoDisplay(const LfoReadout& readout, ITextControl* label, IDrawRect* rangeBar, const IBox& barArea);

    void OnFrame() override;

private:
    void ShowRange();

    const LfoReadout& readout;
    ITextControl* label;
    IDrawRect* rangeBar;
    IBox barArea;
    unsigned labelChanges;
    unsigned rangeChanges;
};
