// Reading and writing the small binary files that hold a plug-in's component state.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vibrascend::host {

inline constexpr std::uintmax_t kMaxStateFileBytes = 1 << 20;

// Reads a file, a pipe or ("-") standard input to its end. Throws HostError when it is missing,
// unreadable or larger than kMaxStateFileBytes.
std::vector<std::uint8_t> ReadStateFile(const std::filesystem::path& path);

// Writes `path` as OutputFile does: a file under a temporary name beside it, renamed into place;
// a pipe or device ("-": standard output) as a stream. Throws HostError.
void WriteStateFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vibrascend::host
