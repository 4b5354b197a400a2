#include "platform/ModuleInfo.h"

#include <dlfcn.h>

void* ModuleHandleOf(const void* address)
{
    Dl_info info{};
    if (!dladdr(address, &info))
        return nullptr;
    return info.dli_fbase;
}

std::string ModuleFolderOf(const void* address)
{
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname)
        return {};
    std::string path(info.dli_fname);
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}
