// What the exported entry points need from the effect: its class description and a way to
// create one plug-in object.
#pragma once

#include <cstdint>

class IFxVST3;

struct PluginDescription {
    const char* name;  // class name shown to hosts
    const char* vendor;  // manufacturer name
    const char* url;  // maker's web address
    const char* version;  // e.g. "1.1.0"
    const char* subCategories;  // e.g. "Fx"
    uint32_t uniqueId;  // four-character code of the plug-in
    uint32_t manufacturerId;  // four-character code of the maker
};

// Both are defined by the effect that the module carries.
extern const PluginDescription kPluginDescription;
IFxVST3* CreatePluginInstance();
