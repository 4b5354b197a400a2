// The effect as an LV2 plug-in object: the LV2 binding and the effect over one plug-in base.
#pragma once

#include "effect/CLS_VIBRASCEND.h"
#include "framework/lv2/IFxLV2.h"

class VibrascendLv2 : public IFxLV2, public CLS_VIBRASCEND {
public:
    VibrascendLv2();
};
