// manifest.ttl: what a host reads first, the plug-in, its UI and its presets, each with the file
// that describes it.
#pragma once

#include "PluginDescription.h"

#include <string>

namespace vibrascend::lv2turtle {

std::string ManifestTurtle(const PluginDescription& plugin);

}  // namespace vibrascend::lv2turtle
