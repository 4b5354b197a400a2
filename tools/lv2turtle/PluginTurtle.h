// Vibrascend.ttl: the plug-in (identity, version, features, ports) and its UI.
#pragma once

#include "PluginDescription.h"

#include <string>

namespace vibrascend::lv2turtle {

std::string PluginTurtle(const PluginDescription& plugin);

}  // namespace vibrascend::lv2turtle
