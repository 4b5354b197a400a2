// vibrascend-render moduleinfo: writes the bundle's moduleinfo.json, after drawing its snapshot
// pictures when asked to. It reads its own arguments.
#pragma once

#include <span>
#include <string_view>

namespace vibrascend::render {

inline constexpr std::string_view kModuleInfoCommand = "moduleinfo";

// `arguments` follow the command word: [--plugin PATH] [--snapshots] [OUT.json]; without OUT.json
// the description goes to standard output. Throws UsageError or HostError.
void RunModuleInfo(std::span<const std::string_view> arguments);

}  // namespace vibrascend::render
