#include "bundle_module.h"

#include "host_error.h"

#include <dlfcn.h>

namespace vibrascend::host {

namespace {

using EntryFunction = bool (*)(void*);
using FactoryFunction = Steinberg::IPluginFactory* (*)();

void* requireSymbol(void* handle, const char* name, const std::filesystem::path& library) {
    void* symbol = ::dlsym(handle, name);
    if (symbol == nullptr) {
        throw HostError(library.string() + " does not export " + name + ": not a VST3 module for Linux");
    }
    return symbol;
}

}  // namespace

std::filesystem::path resolveModulePath(const std::filesystem::path& bundleOrLibrary) {
    std::error_code error;
    if (std::filesystem::is_directory(bundleOrLibrary, error)) {
        std::filesystem::path bundle = bundleOrLibrary;
        if (!bundle.has_filename()) bundle = bundle.parent_path();
        const auto library = bundle / "Contents" / "x86_64-linux" / (bundle.stem().string() + ".so");
        if (!std::filesystem::is_regular_file(library, error)) {
            throw HostError("the bundle " + bundleOrLibrary.string() + " holds no " +
                            ("Contents/x86_64-linux/" + library.filename().string()));
        }
        return library;
    }
    if (std::filesystem::is_regular_file(bundleOrLibrary, error)) {
        return bundleOrLibrary;
    }
    throw HostError("plug-in not found: " + bundleOrLibrary.string());
}

BundleModule::BundleModule(const std::filesystem::path& bundleOrLibrary)
    : library_(resolveModulePath(bundleOrLibrary)) {
    handle_ = ::dlopen(library_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = ::dlerror();
        throw HostError("cannot load " + library_.string() + ": " + (reason ? reason : "unknown error"));
    }
    try {
        const auto entry = reinterpret_cast<EntryFunction>(requireSymbol(handle_, "ModuleEntry", library_));
        const auto exit = reinterpret_cast<ExitFunction>(requireSymbol(handle_, "ModuleExit", library_));
        const auto getFactory = reinterpret_cast<FactoryFunction>(requireSymbol(handle_, "GetPluginFactory", library_));
        if (!entry(handle_)) {
            throw HostError(library_.string() + ": ModuleEntry failed");
        }
        exit_ = exit;
        factory_ = Steinberg::owned(getFactory());
        if (!factory_) {
            throw HostError(library_.string() + ": GetPluginFactory answered no factory");
        }
    } catch (...) {
        if (exit_ != nullptr) exit_();
        ::dlclose(handle_);
        throw;
    }
}

BundleModule::~BundleModule() {
    factory_ = nullptr;
    exit_();
    ::dlclose(handle_);
}

}  // namespace vibrascend::host
