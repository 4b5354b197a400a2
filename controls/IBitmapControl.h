// IBitmapControl: shows one frame of a bitmap strip, chosen by its value. The graphics core
// builds one for the editor's background picture.
#pragma once

#include "controls/IControl.h"
#include "graphics/IImage.h"

class IBitmapControl : public IControl {
public:
    // Covers rect, has no parameter; frames are stacked vertically when `vertical`.
    IBitmapControl(IEditHost* host, const IBox& rect, const IImage& bitmap, const IBlend& blend, bool vertical);

    bool Draw(IGraphics& graphics) override;

private:
    bool vertical;
    IImage bitmap;
};
