#include "BundleModule.h"
#include "HostError.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace vibrascend::host::test {
namespace {

std::string LoadError(const std::filesystem::path& path)
{
    try {
        BundleModule module(path);
    } catch (const HostError& error) {
        return error.what();
    }
    return "(loaded)";
}

// Where a bundle keeps this platform's library, and a system library that is no VST3 module.
#if defined(_WIN32)
const std::filesystem::path kLibraryInBundle = std::filesystem::path("Contents") / "x86_64-win" / "Thing.vst3";
const std::filesystem::path kSystemLibrary = "C:\\windows\\system32\\kernel32.dll";
constexpr const char* kFirstEntryPoint = "GetPluginFactory";
#else
const std::filesystem::path kLibraryInBundle = std::filesystem::path("Contents") / "x86_64-linux" / "Thing.so";
const std::filesystem::path kSystemLibrary = "/lib/x86_64-linux-gnu/libm.so.6";
constexpr const char* kFirstEntryPoint = "ModuleEntry";
#endif

TEST(BundleLoading, BundleFoldersResolveToTheirPlatformLibrary)
{
    TempFolder folder;
    const auto bundle = folder / "Thing.vst3";
    const auto library = bundle / kLibraryInBundle;
    std::filesystem::create_directories(library.parent_path());
    EXPECT_THROW(ResolveModulePath(bundle), HostError);
    std::ofstream(library) << "not a library";
    EXPECT_EQ(ResolveModulePath(bundle), library);
    EXPECT_EQ(ResolveModulePath(bundle.string() + "/"), library);
    EXPECT_EQ(ResolveModulePath(library), library);
    EXPECT_NE(LoadError(folder / "Absent.vst3").find("plug-in not found"), std::string::npos);
    EXPECT_NE(LoadError(bundle).find("cannot load"), std::string::npos);
}

TEST(BundleLoading, LibrariesWithoutTheModuleEntryPointsAreRefused)
{
    if (!std::filesystem::exists(kSystemLibrary))
        GTEST_SKIP() << "no " << kSystemLibrary;
    EXPECT_NE(LoadError(kSystemLibrary).find(std::string("does not export ") + kFirstEntryPoint), std::string::npos)
        << LoadError(kSystemLibrary);
}

}  // namespace
}  // namespace vibrascend::host::test
