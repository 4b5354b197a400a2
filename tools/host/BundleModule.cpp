#include "BundleModule.h"

#include "HostError.h"

namespace vibrascend::host {

namespace {

using FactoryFunction = Steinberg::IPluginFactory* (*)();

// Where a bundle keeps the library for this platform, and how a host enters and leaves it.
#if defined(_WIN32)
constexpr const char* kArchitectureFolder = "x86_64-win";
constexpr const char* kLibrarySuffix = ".vst3";
constexpr const char* kPlatformName = "Windows";
#else
constexpr const char* kArchitectureFolder = "x86_64-linux";
constexpr const char* kLibrarySuffix = ".so";
constexpr const char* kPlatformName = "Linux";
#endif

void* RequireSymbol(const platform::SharedLibrary& library, const char* name, const std::filesystem::path& path)
{
    void* symbol = library.Symbol(name);
    if (symbol == nullptr) {
        throw HostError(path.string() + " does not export " + name + ": not a VST3 module for " + kPlatformName);
    }
    return symbol;
}

}  // namespace

std::filesystem::path ResolveModulePath(const std::filesystem::path& bundleOrLibrary)
{
    std::error_code error;
    if (std::filesystem::is_directory(bundleOrLibrary, error)) {
        // The bundle's own name, even when it is given as "." or "dir/..".
        std::filesystem::path bundle = std::filesystem::absolute(bundleOrLibrary, error);
        if (!bundle.has_filename())
            bundle = bundle.parent_path();
        if (bundle.filename() == "." || bundle.filename() == "..")
            bundle = std::filesystem::weakly_canonical(bundle, error);
        const auto library = bundle / "Contents" / kArchitectureFolder / (bundle.stem().string() + kLibrarySuffix);
        if (!std::filesystem::is_regular_file(library, error)) {
            throw HostError("the bundle " + bundleOrLibrary.string() + " holds no " +
                            ("Contents/" + std::string(kArchitectureFolder) + "/" + library.filename().string()));
        }
        return library;
    }
    if (std::filesystem::is_regular_file(bundleOrLibrary, error)) {
        // The loader searches its library path for a name without a folder, and some systems
        // search for relative names too: the file meant is the one in the current folder.
        return std::filesystem::absolute(bundleOrLibrary, error);
    }
    throw HostError("plug-in not found: " + bundleOrLibrary.string());
}

BundleModule::BundleModule(const std::filesystem::path& bundleOrLibrary) : library(ResolveModulePath(bundleOrLibrary))
{
    std::string reason;
    handle = platform::SharedLibrary::Open(library, reason);
    if (!handle) {
        throw HostError("cannot load " + library.string() + ": " + reason);
    }
#if defined(_WIN32)
    // Windows modules may export InitDll/ExitDll; hosts call them when present.
    const auto getFactory = reinterpret_cast<FactoryFunction>(RequireSymbol(*handle, "GetPluginFactory", library));
    const auto entry = reinterpret_cast<bool (*)()>(handle->Symbol("InitDll"));
    const auto exitFunction = reinterpret_cast<ExitFunction>(handle->Symbol("ExitDll"));
    if (entry != nullptr && !entry()) {
        throw HostError(library.string() + ": InitDll failed");
    }
#else
    const auto entry = reinterpret_cast<bool (*)(void*)>(RequireSymbol(*handle, "ModuleEntry", library));
    const auto exitFunction = reinterpret_cast<ExitFunction>(RequireSymbol(*handle, "ModuleExit", library));
    const auto getFactory = reinterpret_cast<FactoryFunction>(RequireSymbol(*handle, "GetPluginFactory", library));
    if (!entry(handle->Handle())) {
        throw HostError(library.string() + ": ModuleEntry failed");
    }
#endif
    exit = exitFunction;
    factory = Steinberg::owned(getFactory());
    if (!factory) {
        if (exit != nullptr)
            exit();
        throw HostError(library.string() + ": GetPluginFactory answered no factory");
    }
}

BundleModule::~BundleModule()
{
    factory = nullptr;
    if (exit != nullptr)
        exit();
}

}  // namespace vibrascend::host
