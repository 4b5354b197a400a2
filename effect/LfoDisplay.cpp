#include "effect/LfoDisplay.h"

#include "controls/IDrawRect.h"
#include "controls/ITextControl.h"
#include "effect/LfoBar.h"
#include "effect/LfoReadout.h"

LfoDisplay::LfoDisplay(const LfoReadout& source, ITextControl* bandLabel, IDrawRect* bar, const IBox& area)
    : readout(source), label(bandLabel), rangeBar(bar), barArea(area), labelChanges(source.LabelChanges()),
      rangeChanges(source.RangeChanges())
{
    if (label)
        label->ReplaceText(readout.BandName());
    // Until the effect publishes a range the bar keeps its full extent.
    if (rangeChanges > 0)
        ShowRange();
}

void LfoDisplay::ShowRange()
{
    if (rangeBar)
        rangeBar->SetBarRect(LfoBarRect(barArea, readout.Range(), rangeBar->BarRect()));
}

void LfoDisplay::OnFrame()
{
    const unsigned labelNow = readout.LabelChanges();
    if (labelNow != labelChanges) {
        labelChanges = labelNow;
        if (label)
            label->ReplaceText(readout.BandName());
    }
    const unsigned rangeNow = readout.RangeChanges();
    if (rangeNow != rangeChanges) {
        rangeChanges = rangeNow;
        ShowRange();
    }
}
