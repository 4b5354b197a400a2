// "-" on the command line: standard input where a file is read, standard output where one is written.
#pragma once

#include <filesystem>
#include <string>

namespace vibrascend::host {

inline bool IsStandardStream(const std::filesystem::path& path) { return path == "-"; }

// How messages name a file the user gave: as given, or the standard stream that "-" stands for.
inline std::string InputName(const std::filesystem::path& path)
{
    return IsStandardStream(path) ? "standard input" : path.string();
}
inline std::string OutputName(const std::filesystem::path& path)
{
    return IsStandardStream(path) ? "standard output" : path.string();
}

}  // namespace vibrascend::host
