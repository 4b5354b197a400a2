// Text listings of what a host sees of the plug-in: its parameters and its program lists.
#pragma once

#include "PluginInstance.h"

#include <cstdio>
#include <string>

namespace vibrascend::host {

// 'prst' for ids made of four printable characters, else the decimal number.
std::string FormatParameterId(Steinberg::Vst::ParamID id);

void PrintParameters(std::FILE* out, const PluginInstance& plugin);
void PrintPrograms(std::FILE* out, const PluginInstance& plugin);

}  // namespace vibrascend::host
