// The effect as a VST3 plug-in object: the VST3 binding and the effect over one plug-in base.
#pragma once

#include "effect/CLS_VIBRASCEND.h"
#include "framework/vst3/IFxVST3.h"

class VibrascendVst3 : public IFxVST3, public CLS_VIBRASCEND {
public:
    VibrascendVst3();
};
