// What the editor shows for one LFO: the name of its frequency's band and the bar of the gain
// range it sweeps. The effect writes it under the plug-in lock; the editor's band-label text
// and range-bar controls take their text and rectangle from here.
#pragma once

#include "graphics/IBox.h"

class IDrawRect;
class ITextControl;

class LfoDisplay {
public:
    // `fullBar` is the bar's rectangle before the LFO is first applied.
    explicit LfoDisplay(const IBox& fullBar) : bar(fullBar) {}

    // The editor's band label and range bar, which then show every change; either may be null.
    // They belong to the graphics object, which lives as long as the effect.
    void Attach(ITextControl* label, IDrawRect* rangeBar);

    // Takes a new band name (a text of static storage, as BandNameOf answers); counts a label
    // update only when the text differs.
    void ReplaceText(const char* text);
    // Shows the bar at `rect`, or collapses it (right onto left, bottom onto top); either way the
    // bar is marked for redraw.
    void SetBarRect(const IBox& rect);
    void CollapseBar();

    const char* BandName() const { return bandName; }
    const IBox& BarRect() const { return bar; }
    bool BarCollapsed() const { return bar.R == bar.L && bar.B == bar.T; }
    // How often the label changed and the bar was marked for redraw: the editor redraws when
    // these move on.
    unsigned LabelChanges() const { return labelChanges; }
    unsigned BarRedraws() const { return barRedraws; }

private:
    ITextControl* labelControl = nullptr;
    IDrawRect* barControl = nullptr;
    const char* bandName = "";
    IBox bar;
    unsigned labelChanges = 0;
    unsigned barRedraws = 0;
};
