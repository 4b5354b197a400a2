#include "PluginDescription.h"

#include <cstdio>

namespace vibrascend::lv2turtle {

std::string UiUri(const PluginDescription& plugin) { return plugin.uri + "#ui"; }

std::string PresetUri(const PluginDescription& plugin, int slot)
{
    char fragment[32];
    std::snprintf(fragment, sizeof fragment, "#preset-%03d", slot);
    return plugin.uri + fragment;
}

}  // namespace vibrascend::lv2turtle
