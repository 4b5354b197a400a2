#include "effect/lv2/VibrascendLv2.h"

#include "framework/lv2/Lv2Entry.h"

VibrascendLv2::VibrascendLv2() : IFxBase(Declaration()), IFxLV2(Declaration()) {}

// The plug-in the LV2 module describes, and how one plug-in object of it is made.
const char* const kLv2PluginUri = VIBRASCEND_LV2_URI;

IFxLV2* CreateLv2PluginInstance() { return new VibrascendLv2; }
