// Runs vibrascend-render for the end-to-end tests as a user's shell would: inside a folder, with
// no standard input, its standard output and error captured.
#pragma once

#include <filesystem>
#include <string>

namespace vibrascend::host::test {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// arguments are written as a POSIX shell reads them: values with spaces in 'single quotes'.
RunResult RunRender(const std::filesystem::path& folder, const std::string& arguments);

// The bytes of a file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// A path quoted for the arguments of runRender, absolute so that it holds in any folder.
std::string QuotedPath(const std::filesystem::path& path);

}  // namespace vibrascend::host::test
