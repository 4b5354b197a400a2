// A loaded VST3 module: the shared library of a bundle, opened and entered as a Linux host does.
#pragma once

#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/base/smartpointer.h>

#include <filesystem>

namespace vibrascend::host {

// Maps a bundle folder (X.vst3 -> X.vst3/Contents/x86_64-linux/X.so) or a .so path to the
// library to open. Throws HostError when neither exists.
std::filesystem::path resolveModulePath(const std::filesystem::path& bundleOrLibrary);

// dlopen + ModuleEntry + GetPluginFactory; the destructor releases the factory, calls
// ModuleExit and closes the library. Everything created from the factory must be released first.
class BundleModule {
public:
    explicit BundleModule(const std::filesystem::path& bundleOrLibrary);
    ~BundleModule();
    BundleModule(const BundleModule&) = delete;
    BundleModule& operator=(const BundleModule&) = delete;

    Steinberg::IPluginFactory& factory() const { return *factory_; }
    const std::filesystem::path& libraryPath() const { return library_; }

private:
    using ExitFunction = bool (*)();

    std::filesystem::path library_;
    void* handle_ = nullptr;
    ExitFunction exit_ = nullptr;
    Steinberg::IPtr<Steinberg::IPluginFactory> factory_;
};

}  // namespace vibrascend::host
