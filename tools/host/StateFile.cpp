#include "StateFile.h"

#include "HostError.h"

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
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw HostError("cannot read state file " + path.string() + ": " +
                        (std::filesystem::exists(path, error) ? "not a regular file" : "no such file"));
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        throw HostError("cannot read state file " + path.string() + ": " + error.message());
    if (size > kMaxStateFileBytes) {
        throw HostError("state file " + path.string() + " is larger than 1 MiB: not a state of this plug-in");
    }
    File file(platform::OpenFile(path, "rb"));
    if (!file)
        throw HostError("cannot read state file " + path.string() + ": " + std::strerror(errno));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        throw HostError("cannot read state file " + path.string());
    }
    return bytes;
}

void WriteStateFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::path temporary;
    File file(platform::CreatePartialFile(path, temporary));
    if (!file)
        throw HostError("cannot write state file " + path.string() + ": " + std::strerror(errno));
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && std::fclose(file.release()) == 0;
    std::error_code error;
    if (written)
        std::filesystem::rename(temporary, path, error);
    if (!written || error) {
        file.reset();
        std::filesystem::remove(temporary, error);
        throw HostError("cannot write state file " + path.string());
    }
}

}  // namespace vibrascend::host
