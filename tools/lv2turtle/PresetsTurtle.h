// presets.ttl: every factory preset with the value of each control port.
#pragma once

#include "PluginDescription.h"

#include <string>

namespace vibrascend::lv2turtle {

std::string PresetsTurtle(const PluginDescription& plugin);

}  // namespace vibrascend::lv2turtle
