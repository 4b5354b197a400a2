// Writes the bundle's three Turtle files into a folder, each whole or not at all.
#pragma once

#include "PluginDescription.h"

#include <filesystem>

namespace vibrascend::lv2turtle {

// Makes `folder` (and its parents) if needed and writes manifest.ttl, Vibrascend.ttl and
// presets.ttl there. Each file is written under a temporary name and renamed into place once
// complete, so a failure leaves the earlier file, never a partial one. Throws Lv2TurtleError.
void WriteBundleFiles(const std::filesystem::path& folder, const PluginDescription& plugin);

}  // namespace vibrascend::lv2turtle
