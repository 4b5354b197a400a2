#include "BundleFiles.h"

#include "Lv2TurtleError.h"
#include "ManifestTurtle.h"
#include "PluginTurtle.h"
#include "PresetsTurtle.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

namespace vibrascend::lv2turtle {

namespace {

void WriteWhole(const std::filesystem::path& path, const std::string& text)
{
    const std::filesystem::path partial = path.string() + ".partial";
    const auto failed = [&](const char* what) {
        const std::string reason = std::strerror(errno);
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw Lv2TurtleError(std::string("cannot ") + what + " " + path.string() + ": " + reason);
    };
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file)
        failed("write");
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written)
        failed("write");
    if (std::rename(partial.c_str(), path.c_str()) != 0)
        failed("replace");
}

}  // namespace

void WriteBundleFiles(const std::filesystem::path& folder, const PluginDescription& plugin)
{
    // The texts are made first: a description that cannot be written changes no file.
    const std::string manifest = ManifestTurtle(plugin);
    const std::string description = PluginTurtle(plugin);
    const std::string presets = PresetsTurtle(plugin);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw Lv2TurtleError("cannot make the folder " + folder.string() + ": " + error.message());
    WriteWhole(folder / kPluginFile, description);
    WriteWhole(folder / kPresetsFile, presets);
    WriteWhole(folder / kManifestFile, manifest);
}

}  // namespace vibrascend::lv2turtle
