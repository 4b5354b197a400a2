#include "BundleLocation.h"

#include "HostError.h"

#include <cstdlib>
#include <vector>

namespace vibrascend::render {

namespace {
constexpr const char* kBundleName = "Vibrascend.vst3";
}

std::filesystem::path LocateBundle(const std::optional<std::filesystem::path>& requested)
{
    if (requested)
        return *requested;
    std::vector<std::filesystem::path> candidates;
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        candidates.push_back(executable.parent_path().parent_path() / kBundleName);
    candidates.emplace_back(VIBRASCEND_BUILD_BUNDLE);
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        candidates.push_back(std::filesystem::path(home) / ".vst3" / kBundleName);
    }
    candidates.push_back(std::filesystem::path("/usr/lib/vst3") / kBundleName);
    candidates.push_back(std::filesystem::path("/usr/local/lib/vst3") / kBundleName);
    for (const auto& candidate : candidates) {
        if (std::filesystem::is_directory(candidate, error))
            return candidate;
    }
    throw host::HostError(std::string("cannot find ") + kBundleName + " (build it, install it, or give --plugin PATH)");
}

}  // namespace vibrascend::render
