// The effect's editor as an LV2 UI object: the LV2 UI binding and the effect over one plug-in
// base. The effect runs on the UI side only, so the editor's LFO displays follow the host's ports.
#pragma once

#include "effect/CLS_VIBRASCEND.h"
#include "framework/lv2/IFxLV2UI.h"

class VibrascendLv2Ui : public IFxLV2UI, public CLS_VIBRASCEND {
public:
    VibrascendLv2Ui();
};
