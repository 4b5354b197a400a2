// A library loaded at run time by its path, as a host loads a plug-in: the dynamic loader on
// Linux, LoadLibrary on Windows. Destroying the object drops this load's reference.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace platform {

class SharedLibrary {
public:
    // The library at path, resolving its symbols now; null with the loader's reason in error.
    static std::unique_ptr<SharedLibrary> Open(const std::filesystem::path& path, std::string& error);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The address of an exported function or object, null when the library exports no such name.
    void* Symbol(const char* name) const;
    // What the loader answered for this library (the dlopen handle, the HMODULE).
    void* Handle() const { return handle; }

private:
    explicit SharedLibrary(void* handle) : handle(handle) {}

    void* handle;
};

}  // namespace platform
