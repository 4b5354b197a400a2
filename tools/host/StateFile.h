// Reading and writing the small binary files that hold a plug-in's component state.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vibrascend::host {

inline constexpr std::uintmax_t kMaxStateFileBytes = 1 << 20;

// Throws HostError when the file is missing, unreadable or larger than kMaxStateFileBytes.
std::vector<std::uint8_t> ReadStateFile(const std::filesystem::path& path);

// Writes to a temporary file beside `path` and renames it into place. Throws HostError.
void WriteStateFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vibrascend::host
