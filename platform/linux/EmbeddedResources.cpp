#include "../EmbeddedResources.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace platform {

const void* ModuleOfAddress(const void* address)
{
    Dl_info info{};
    if (!address || dladdr(address, &info) == 0)
        return nullptr;
    return info.dli_fbase;
}

const void* ThisModule() { return ModuleOfAddress(reinterpret_cast<const void*>(&ThisModule)); }

const void* ModuleOfLibraryHandle(void* loaderHandle)
{
    if (!loaderHandle)
        return nullptr;
    link_map* map = nullptr;
    if (dlinfo(loaderHandle, RTLD_DI_LINKMAP, &map) != 0 || !map)
        return nullptr;
    // The dynamic section lies inside the module; its module base is the handle.
    return ModuleOfAddress(map->l_ld);
}

ResourceData FindResource(const void* module, const char* type, int resourceId)
{
    if (!module || !type || module != ThisModule())
        return {};
    const EmbeddedResourceTable& table = EmbeddedResources();
    const int id = resourceId & 0xFFFF;
    for (std::size_t i = 0; i < table.count; ++i) {
        const EmbeddedResource& r = table.entries[i];
        if (r.id == id && std::strcmp(r.type, type) == 0)
            return ResourceData{r.data, r.size};
    }
    return {};
}

}  // namespace platform
