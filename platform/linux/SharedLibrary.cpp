#include "platform/SharedLibrary.h"

#include <dlfcn.h>

namespace platform {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::filesystem::path& path, std::string& error)
{
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = ::dlerror();
        error = reason ? reason : "unknown error";
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() { ::dlclose(handle); }

void* SharedLibrary::Symbol(const char* name) const { return ::dlsym(handle, name); }

}  // namespace platform
