// A loaded VST3 module: the library of a bundle, opened and entered as a host of this platform
// does (ModuleEntry/ModuleExit on Linux, InitDll/ExitDll on Windows).
#pragma once

#include "platform/SharedLibrary.h"

#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/base/smartpointer.h>

#include <filesystem>
#include <memory>

namespace vibrascend::host {

// Maps a bundle folder (X.vst3 -> X.vst3/Contents/x86_64-linux/X.so, on Windows
// X.vst3/Contents/x86_64-win/X.vst3) or a library path to the absolute path of the library to
// open; relative paths are taken from the current folder. Throws HostError when neither exists.
std::filesystem::path ResolveModulePath(const std::filesystem::path& bundleOrLibrary);

// Load + module entry + GetPluginFactory; the destructor releases the factory, calls the module
// exit and closes the library. Everything created from the factory must be released first.
class BundleModule {
public:
    explicit BundleModule(const std::filesystem::path& bundleOrLibrary);
    ~BundleModule();
    BundleModule(const BundleModule&) = delete;
    BundleModule& operator=(const BundleModule&) = delete;

    Steinberg::IPluginFactory& Factory() const { return *factory; }
    const std::filesystem::path& LibraryPath() const { return library; }
    // An exported symbol of the library, null when it has none of that name.
    void* Symbol(const char* name) const { return handle->Symbol(name); }
    // The loader's handle of the library (the module handle on Windows).
    void* NativeHandle() const { return handle->Handle(); }

private:
    using ExitFunction = bool (*)();

    std::filesystem::path library;
    std::unique_ptr<platform::SharedLibrary> handle;
    ExitFunction exit = nullptr;
    Steinberg::IPtr<Steinberg::IPluginFactory> factory;
};

}  // namespace vibrascend::host
