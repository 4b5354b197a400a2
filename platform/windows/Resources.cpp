// Resources compiled into a module by the resource compiler, found through the module's
// resource directory.
#include "platform/EmbeddedResources.h"

#include <windows.h>
// The header's name, not the system's ANSI/wide macro.
#undef FindResource

namespace platform {

const void* ModuleOfAddress(const void* address)
{
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!address || !GetModuleHandleExA(flags, static_cast<LPCSTR>(address), &module))
        return nullptr;
    return module;
}

const void* ThisModule() { return ModuleOfAddress(reinterpret_cast<const void*>(&ThisModule)); }

// LoadLibrary's handle is the module handle itself; anything else is not a loaded module.
const void* ModuleOfLibraryHandle(void* loaderHandle)
{
    const void* module = ModuleOfAddress(loaderHandle);
    return module == loaderHandle ? module : nullptr;
}

ResourceData FindResource(const void* module, const char* type, int resourceId)
{
    const WORD id = static_cast<WORD>(resourceId & 0xFFFF);
    if (!module || !type || id == 0)
        return {};
    HMODULE handle = static_cast<HMODULE>(const_cast<void*>(module));
    HRSRC resource = FindResourceA(handle, MAKEINTRESOURCEA(id), type);
    if (!resource)
        return {};
    const DWORD size = SizeofResource(handle, resource);
    HGLOBAL loaded = LoadResource(handle, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0)
        return {};
    return ResourceData{static_cast<const std::uint8_t*>(data), size};
}

}  // namespace platform
