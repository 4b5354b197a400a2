// ITextControl: one line of text that the program changes at run time (the version number,
// the oscillators' band names). Not linked to a parameter.
#pragma once

#include "controls/IControl.h"
#include "framework/TextBuf.h"
#include "graphics/ITextStyle.h"

class ITextControl : public IControl {
public:
    // initialString may be null (empty text).
    ITextControl(IEditHost* host, const IBox& rect, const ITextStyle& text, const char* initialString);

    // Draws the text in its style with its first line's top at rect's top; an empty text
    // draws nothing.
    bool Draw(IGraphics& graphics) override;

    // Shows a new text (null counts as empty); the control is redrawn only when the text differs.
    virtual void ReplaceText(const char* newString);

    const char* Text() const { return string.Get(); }
    const ITextStyle& Style() const { return text; }

private:
    ITextStyle text;
    TextBuf string;
};
