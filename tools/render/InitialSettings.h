// The preset and settings of the command line, delivered to the plug-in as parameter changes of
// a process call of no frames, the way a host's automation reaches it before playback.
#pragma once

#include "CommandLine.h"
#include "PluginInstance.h"

#include <string>

namespace vibrascend::render {

// Appends a description of what was applied to `applied` (" with preset 73 ...").
void ApplySettings(host::PluginInstance& plugin, const host::CommandLine& line, std::string& applied);

}  // namespace vibrascend::render
