#include "controls/ITextControl.h"

#include "controls/IGraphics.h"

#include <cstring>

ITextControl::ITextControl(IEditHost* host, const IBox& area, const ITextStyle& style, const char* initialString)
    : IControl(host, -1), text(style), string(initialString ? initialString : "")
{
    rect = area;
    targetRect = area;
}

bool ITextControl::Draw(IGraphics& graphics)
{
    const char* s = string.Get();
    if (!s[0])
        return true;
    return graphics.DrawText(text, s, rect);
}

void ITextControl::ReplaceText(const char* newString)
{
    const char* replacement = newString ? newString : "";
    if (std::strcmp(replacement, string.Get()) == 0)
        return;
    SetDirty(false);
    string.Set(replacement);
}
