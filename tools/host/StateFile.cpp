#include "StateFile.h"

#include "HostError.h"
#include "OutputFile.h"
#include "StandardStreams.h"

#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace vibrascend::host {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::vector<std::uint8_t> ReadStateFile(const std::filesystem::path& path)
{
    const std::string name = InputName(path);
    File owned;
    std::FILE* file = nullptr;
    if (IsStandardStream(path)) {
        file = platform::StandardInput();
    } else {
        std::error_code error;
        const auto type = std::filesystem::status(path, error).type();
        if (type == std::filesystem::file_type::not_found)
            throw HostError("cannot read state file " + name + ": no such file");
        if (type == std::filesystem::file_type::directory)
            throw HostError("cannot read state file " + name + ": it is a folder");
        owned.reset(platform::OpenFile(path, "rb"));
        if (!owned)
            throw HostError("cannot read state file " + name + ": " + std::strerror(errno));
        file = owned.get();
    }
    // Read to the end (a pipe tells no size), one byte past the limit to see a file that is larger.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kMaxStateFileBytes) + 1);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    if (std::ferror(file))
        throw HostError("cannot read state file " + name + ": " + std::strerror(errno));
    if (got > kMaxStateFileBytes)
        throw HostError("state file " + name + " is larger than 1 MiB: not a state of this plug-in");
    bytes.resize(got);
    return bytes;
}

void WriteStateFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    OutputFile file(path, "state file ");
    file.Write(bytes.data(), bytes.size());
    file.Commit();
}

}  // namespace vibrascend::host
