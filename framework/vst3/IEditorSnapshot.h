// A private face of the editor view for tools and tests: feeds the editor the events its window
// would, and copies a freshly drawn frame of the back buffer. Hosts never ask for it.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Vibrascend {

class IEditorSnapshot : public Steinberg::FUnknown {
public:
    enum EventKind : Steinberg::int32 {
        kMouseOver = 0,
        kLeftDown,
        kLeftUp,
        kRightDown,
        kRightUp,
        kDrag,  // to (x, y), the left button held
        kWheel,  // dy notches, positive upwards
        kDoubleClick,
        kMouseOut,
    };
    enum Modifier : Steinberg::int32 {
        kShift = 1,
        kControl = 2,
        kAlt = 4
    };

    virtual Steinberg::tresult PLUGIN_API mouseEvent(Steinberg::int32 kind, Steinberg::int32 x, Steinberg::int32 y,
                                                     Steinberg::int32 dy, Steinberg::int32 modifiers) = 0;
    // Redraws the whole editor and copies its pixels (0xAARRGGBB, top row first) into `pixels`,
    // which holds `capacity` pixels; answers the size in `width` and `height`. kResultFalse
    // without an editor or when `pixels` is too small (the size is still answered).
    virtual Steinberg::tresult PLUGIN_API capture(Steinberg::uint32* pixels, Steinberg::int32 capacity,
                                                  Steinberg::int32& width, Steinberg::int32& height) = 0;

    static const Steinberg::FUID iid;
};

DECLARE_CLASS_IID(IEditorSnapshot, 0x5669B2A1, 0x3C4D4E8F, 0x9A0B1C2D, 0x54F1E0D3)

}  // namespace Vibrascend
