// The class the module offers to hosts, and how one plug-in object of it is made.
#include "effect/CLS_VIBRASCEND.h"
#include "framework/PluginEntry.h"

const PluginDescription kPluginDescription = {
    "Vibrascend", "Tolmira", VIBRASCEND_MAKER_URL, "1.1.0", "Fx", 0x74336A61, 0x546F4D69,
};

IFxVST3* CreatePluginInstance() { return new CLS_VIBRASCEND; }
