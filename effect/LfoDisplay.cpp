#include "effect/LfoDisplay.h"

#include "controls/IDrawRect.h"
#include "controls/ITextControl.h"
#include "effect/LfoReadout.h"

LfoDisplay::LfoDisplay(const LfoReadout& source, ITextControl* bandLabel, IDrawRect* bar)
    : readout(source), label(bandLabel), rangeBar(bar), labelChanges(source.LabelChanges()),
      barRedraws(source.BarRedraws())
{
    if (label)
        label->ReplaceText(readout.BandName());
    if (rangeBar)
        rangeBar->SetBarRect(readout.BarRect());
}

void LfoDisplay::OnFrame()
{
    const unsigned labelNow = readout.LabelChanges();
    if (labelNow != labelChanges) {
        labelChanges = labelNow;
        if (label)
            label->ReplaceText(readout.BandName());
    }
    const unsigned barNow = readout.BarRedraws();
    if (barNow != barRedraws) {
        barRedraws = barNow;
        if (rangeBar)
            rangeBar->SetBarRect(readout.BarRect());
    }
}
