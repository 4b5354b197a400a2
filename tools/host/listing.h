// Text listings of what a host sees of the plug-in: its parameters and its program lists.
#pragma once

#include "plugin_instance.h"

#include <cstdio>
#include <string>

namespace vibrascend::host {

// 'prst' for ids made of four printable characters, else the decimal number.
std::string formatParameterId(Steinberg::Vst::ParamID id);

void printParameters(std::FILE* out, const PluginInstance& plugin);
void printPrograms(std::FILE* out, const PluginInstance& plugin);

}  // namespace vibrascend::host
