// What the LV2 module's exported descriptor needs from the effect: the plug-in's URI and a way to
// create one plug-in object.
#pragma once

class IFxLV2;

// Both are defined by the effect that the module carries.
extern const char* const kLv2PluginUri;
IFxLV2* CreateLv2PluginInstance();
