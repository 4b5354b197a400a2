#include "platform/Files.h"

#include "platform/PartialFiles.h"
#include "platform/StopSignals.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <random>
#include <string>

namespace platform {

namespace {

std::wstring Widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

}  // namespace

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode)
{
    return _wfopen(path.c_str(), Widen(mode).c_str());
}

std::FILE* OpenForStreaming(const std::filesystem::path& path) { return _wfopen(path.c_str(), L"wb"); }

std::FILE* StandardInput()
{
    _setmode(_fileno(stdin), _O_BINARY);
    return stdin;
}

std::FILE* StandardOutput()
{
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    return stdout;
}

bool MayWrite(const std::filesystem::path& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        errno = ENOENT;
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

std::FILE* CreatePartialFile(const std::filesystem::path& destination, std::filesystem::path& created, bool)
{
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = destination.native() + L".partial-" + std::to_wstring(seed() % 1000000u);
        // Deletable while open, so that a stop can remove it before the process ends.
        HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
            return nullptr;
        }
        partial::Remember(name);
        const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
        if (descriptor < 0) {
            CloseHandle(handle);
            DiscardPartialFile(name);
            return nullptr;
        }
        std::FILE* file = _fdopen(descriptor, "wb");
        if (!file) {
            _close(descriptor);
            DiscardPartialFile(name);
            return nullptr;
        }
        created = name;
        return file;
    }
    errno = EEXIST;
    return nullptr;
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

bool SyncFile(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

bool IsRegularFile(std::FILE* file)
{
    const intptr_t handle = _get_osfhandle(_fileno(file));
    return handle != -1 && GetFileType(reinterpret_cast<HANDLE>(handle)) == FILE_TYPE_DISK;
}

bool CanRewrite(std::FILE* file) { return IsRegularFile(file); }

bool IsTerminal(std::FILE* file) { return _isatty(_fileno(file)) != 0; }

}  // namespace platform
