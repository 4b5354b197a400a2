#include "bundle_module.h"
#include "host_error.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace vibrascend::host::test {
namespace {

std::string loadError(const std::filesystem::path& path) {
    try {
        BundleModule module(path);
    } catch (const HostError& error) {
        return error.what();
    }
    return "(loaded)";
}

TEST(BundleLoading, BundleFoldersResolveToTheirLinuxLibrary) {
    TempFolder folder;
    const auto bundle = folder / "Thing.vst3";
    const auto library = bundle / "Contents" / "x86_64-linux" / "Thing.so";
    std::filesystem::create_directories(library.parent_path());
    EXPECT_THROW(resolveModulePath(bundle), HostError);
    std::ofstream(library) << "not a library";
    EXPECT_EQ(resolveModulePath(bundle), library);
    EXPECT_EQ(resolveModulePath(bundle.string() + "/"), library);
    EXPECT_EQ(resolveModulePath(library), library);
    EXPECT_NE(loadError(folder / "Absent.vst3").find("plug-in not found"), std::string::npos);
    EXPECT_NE(loadError(bundle).find("cannot load"), std::string::npos);
}

TEST(BundleLoading, LibrariesWithoutTheModuleEntryPointsAreRefused) {
    const std::filesystem::path mathLibrary = "/lib/x86_64-linux-gnu/libm.so.6";
    if (!std::filesystem::exists(mathLibrary)) GTEST_SKIP() << "no " << mathLibrary;
    EXPECT_NE(loadError(mathLibrary).find("does not export ModuleEntry"), std::string::npos) << loadError(mathLibrary);
}

}  // namespace
}  // namespace vibrascend::host::test
