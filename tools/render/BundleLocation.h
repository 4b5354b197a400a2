// Where vibrascend-render finds the plug-in bundle when no --plugin is given.
#pragma once

#include <filesystem>
#include <optional>

namespace vibrascend::render {

// The requested path when given; otherwise the first existing of: the bundle beside the
// executable's build folder, the bundle of the build this program came from, the user's
// ~/.vst3 and the system folders /usr/lib/vst3 and /usr/local/lib/vst3. Throws HostError.
std::filesystem::path LocateBundle(const std::optional<std::filesystem::path>& requested);

}  // namespace vibrascend::render
