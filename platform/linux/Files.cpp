#include "platform/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace platform {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) { return std::fopen(path.c_str(), mode); }

std::FILE* CreatePartialFile(const std::filesystem::path& destination, std::filesystem::path& created)
{
    std::string pattern = destination.string() + ".partial-XXXXXX";
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0)
        return nullptr;
    // mkstemp makes the file private; give it what any new file of this user would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor, static_cast<mode_t>(0666 & ~mask));
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (!file) {
        ::close(descriptor);
        ::unlink(pattern.c_str());
        return nullptr;
    }
    created = pattern;
    return file;
}

bool SyncFile(std::FILE* file) { return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0; }

bool IsTerminal(std::FILE* file) { return ::isatty(::fileno(file)) == 1; }

}  // namespace platform
