#include "platform/Files.h"

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

std::FILE* CreatePartialFile(const std::filesystem::path& destination, std::filesystem::path& created)
{
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = destination.native() + L".partial-" + std::to_wstring(seed() % 1000000u);
        HANDLE handle =
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
            return nullptr;
        }
        const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
        if (descriptor < 0) {
            CloseHandle(handle);
            DeleteFileW(name.c_str());
            return nullptr;
        }
        std::FILE* file = _fdopen(descriptor, "wb");
        if (!file) {
            _close(descriptor);
            DeleteFileW(name.c_str());
            return nullptr;
        }
        created = name;
        return file;
    }
    errno = EEXIST;
    return nullptr;
}

bool SyncFile(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

bool IsTerminal(std::FILE* file) { return _isatty(_fileno(file)) != 0; }

}  // namespace platform
