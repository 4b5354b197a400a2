#include "effect/LfoDisplay.h"

#include "controls/IDrawRect.h"
#include "controls/ITextControl.h"

#include <cstring>

void LfoDisplay::Attach(ITextControl* label, IDrawRect* rangeBar)
{
    labelControl = label;
    barControl = rangeBar;
    if (labelControl)
        labelControl->ReplaceText(bandName);
    if (barControl)
        barControl->SetBarRect(bar);
}

void LfoDisplay::ReplaceText(const char* text)
{
    if (!text || std::strcmp(text, bandName) == 0)
        return;
    bandName = text;
    ++labelChanges;
    if (labelControl)
        labelControl->ReplaceText(bandName);
}

void LfoDisplay::SetBarRect(const IBox& rect)
{
    bar = rect;
    ++barRedraws;
    if (barControl)
        barControl->SetBarRect(bar);
}

void LfoDisplay::CollapseBar()
{
    bar.R = bar.L;
    bar.B = bar.T;
    ++barRedraws;
    if (barControl)
        barControl->CollapseBar();
}
