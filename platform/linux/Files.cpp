#include "platform/Files.h"

#include "platform/PartialFiles.h"
#include "platform/StopSignals.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) { return std::fopen(path.c_str(), mode); }

std::FILE* OpenForStreaming(const std::filesystem::path& path)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (!file) {
        const int reason = errno;
        ::close(descriptor);
        errno = reason;
    }
    return file;
}

std::FILE* StandardInput() { return stdin; }

std::FILE* StandardOutput() { return stdout; }

bool MayWrite(const std::filesystem::path& path)
{
    // The access check answers for this user's identity, with ACLs and read-only mounts, but lets
    // an administrator through anything; a file with no write bit at all is read-only to everyone.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return false;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return false;
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

std::FILE* CreatePartialFile(const std::filesystem::path& destination, std::filesystem::path& created,
                             bool keepPermissions)
{
    struct stat existing {};
    if (keepPermissions && ::stat(destination.c_str(), &existing) != 0)
        return nullptr;
    std::string pattern = destination.string() + ".partial-XXXXXX";
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0)
        return nullptr;
    partial::Remember(pattern);
    if (keepPermissions) {
        // The owner first: changing it clears the set-id bits that the mode then restores. Only
        // an administrator may give a file away, and a user only to a group of their own.
        if (::fchown(descriptor, existing.st_uid, existing.st_gid) != 0)
            static_cast<void>(::fchown(descriptor, static_cast<uid_t>(-1), existing.st_gid));
        ::fchmod(descriptor, existing.st_mode & 07777);
    } else {
        // mkstemp makes the file private; give it what any new file of this user would get.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(descriptor, static_cast<mode_t>(0666 & ~mask));
    }
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (!file) {
        const int reason = errno;
        ::close(descriptor);
        DiscardPartialFile(pattern);
        errno = reason;
        return nullptr;
    }
    created = pattern;
    return file;
}

void CommitPartialFile(const std::filesystem::path& partial, const std::filesystem::path& destination,
                       std::error_code& error)
{
    const StopSignalsHeld held;
    std::filesystem::rename(partial, destination, error);
    if (!error)
        partial::Forget(partial);
}

void DiscardPartialFile(const std::filesystem::path& partial)
{
    const StopSignalsHeld held;
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    partial::Forget(partial);
}

bool SyncFile(std::FILE* file) { return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0; }

bool IsRegularFile(std::FILE* file)
{
    struct stat status {};
    return ::fstat(::fileno(file), &status) == 0 && S_ISREG(status.st_mode);
}

bool CanRewrite(std::FILE* file)
{
    const int flags = ::fcntl(::fileno(file), F_GETFL);
    return IsRegularFile(file) && flags >= 0 && (flags & O_APPEND) == 0;
}

bool IsTerminal(std::FILE* file) { return ::isatty(::fileno(file)) == 1; }

}  // namespace platform
