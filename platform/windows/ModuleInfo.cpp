#include "platform/ModuleInfo.h"

#include <windows.h>

#include <vector>

void* ModuleHandleOf(const void* address)
{
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!address || !GetModuleHandleExA(flags, static_cast<LPCSTR>(address), &module))
        return nullptr;
    return module;
}

std::string ModuleFolderOf(const void* address)
{
    HMODULE module = static_cast<HMODULE>(ModuleHandleOf(address));
    if (!module)
        return {};
    // Paths may be longer than MAX_PATH; the answer fills the buffer when it was cut.
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            const std::string file(path.data(), length);
            const size_t slash = file.find_last_of("\\/");
            return slash == std::string::npos ? std::string(".\\") : file.substr(0, slash + 1);
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
}
