#include "effect/vst3/VibrascendVst3.h"

#include "framework/vst3/PluginEntry.h"

VibrascendVst3::VibrascendVst3() : IFxBase(Declaration()), IFxVST3(Declaration()) {}

// The class the module offers to hosts, and how one plug-in object of it is made.
const PluginDescription kPluginDescription = {
    "Vibrascend", "Tolmira", VIBRASCEND_MAKER_URL, "1.1.0", "Fx", 0x74336A61, 0x546F4D69,
};

IFxVST3* CreatePluginInstance() { return new VibrascendVst3; }
