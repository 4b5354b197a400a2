// Resources embedded into a module (a shared library or the executable) at
// build time, looked up by type name and integer id. A module is named by
// an opaque handle; ModuleOfAddress gives the handle of the module holding
// a given code or data address.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

struct ResourceData {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// One entry of a module's table, written by the build's embedding step.
struct EmbeddedResource {
    const char* type;
    int id;
    const std::uint8_t* data;
    std::size_t size;
};

struct EmbeddedResourceTable {
    const EmbeddedResource* entries;
    std::size_t count;
};

// Handle of the module that contains address, or null.
const void* ModuleOfAddress(const void* address);

// Handle of the module this code is linked into.
const void* ThisModule();

// Handle of a module from the handle the dynamic loader gave for it (what a
// shared library's entry function receives), or null.
const void* ModuleOfLibraryHandle(void* loaderHandle);

// The resource of the given type whose id matches resourceId in its low 16
// bits, in module's embedded table; empty when module is not this one or
// holds no such resource.
ResourceData FindResource(const void* module, const char* type, int resourceId);

// The table linked into this module: the one the build embedded, or an
// empty one when the module embeds nothing.
const EmbeddedResourceTable& EmbeddedResources();

}  // namespace platform
