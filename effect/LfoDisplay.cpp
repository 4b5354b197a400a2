#include "effect/LfoDisplay.h"

#include <cstring>

void LfoDisplay::ReplaceText(const char* text)
{
    if (!text || std::strcmp(text, bandName) == 0)
        return;
    bandName = text;
    ++labelChanges;
}

void LfoDisplay::SetBarRect(const IBox& rect)
{
    bar = rect;
    ++barRedraws;
}

void LfoDisplay::CollapseBar()
{
    bar.R = bar.L;
    bar.B = bar.T;
    ++barRedraws;
}
