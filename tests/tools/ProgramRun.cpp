#include "ProgramRun.h"

#include "TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace vibrascend::host::test {

namespace {

// A captured stream as text with '\n' line ends.
std::string CapturedText(const std::filesystem::path& path)
{
    std::string bytes = ReadFile(path);
#if defined(_WIN32)
    // Text written to the standard streams ends its lines in CR LF there.
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\r'), bytes.end());
#endif
    return bytes;
}

}  // namespace

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string QuotedPath(const std::filesystem::path& path)
{
#if defined(_WIN32)
    return "'" + std::filesystem::absolute(path).make_preferred().string() + "'";
#else
    return "'" + path.string() + "'";
#endif
}

RunResult RunRender(const std::filesystem::path& folder, const std::string& arguments)
{
    TempFolder logs;
    const std::string program = QuotedPath(VIBRASCEND_RENDER_EXE);
#if defined(_WIN32)
    // The command interpreter quotes with double quotes; a drive change needs /d.
    std::string command = "cd /d " + QuotedPath(folder) + " && " + program + " " + arguments + " >" +
                          QuotedPath(logs / "out") + " 2>" + QuotedPath(logs / "err") + " <NUL";
    std::replace(command.begin(), command.end(), '\'', '"');
    const int status = std::system(command.c_str());
    RunResult result;
    result.exitCode = status;
#else
    const std::string command = "cd " + QuotedPath(folder) + " && " + program + " " + arguments + " >" +
                                QuotedPath(logs / "out") + " 2>" + QuotedPath(logs / "err") + " </dev/null";
    const int status = std::system(command.c_str());
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    result.out = CapturedText(logs / "out");
    result.err = CapturedText(logs / "err");
    return result;
}

}  // namespace vibrascend::host::test
