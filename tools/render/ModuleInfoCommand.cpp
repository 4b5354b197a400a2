#include "ModuleInfoCommand.h"

#include "BundleLocation.h"
#include "BundleModule.h"
#include "BundleSnapshots.h"
#include "HostError.h"
#include "ModuleInfoJson.h"
#include "platform/Files.h"

#include <pluginterfaces/vst/ivstaudioprocessor.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace vibrascend::render {

namespace {

struct ModuleInfoRequest {
    std::optional<std::filesystem::path> plugin;
    bool snapshots = false;
    std::optional<std::filesystem::path> output;
};

ModuleInfoRequest Parse(std::span<const std::string_view> arguments)
{
    ModuleInfoRequest request;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--snapshots") {
            request.snapshots = true;
        } else if (argument == "--plugin" || argument.starts_with("--plugin=")) {
            const bool joined = argument != "--plugin";
            if (!joined && i + 1 == arguments.size())
                throw host::UsageError("--plugin needs a value");
            const std::string_view value = joined ? argument.substr(std::strlen("--plugin=")) : arguments[++i];
            request.plugin = std::filesystem::path(value);
        } else if (argument.starts_with("--")) {
            throw host::UsageError("unknown option " + std::string(argument) + " for moduleinfo");
        } else if (request.output) {
            throw host::UsageError("unexpected argument \"" + std::string(argument) + "\"");
        } else {
            request.output = std::filesystem::path(argument);
        }
    }
    return request;
}

// A bundle folder keeps its resources in Contents/Resources; so does the bundle around a library
// given by its path (X.vst3/Contents/<architecture>/X.so).
std::filesystem::path ResourcesOf(const std::filesystem::path& bundleOrLibrary)
{
    std::error_code error;
    if (std::filesystem::is_directory(bundleOrLibrary, error))
        return bundleOrLibrary / "Contents" / "Resources";
    return std::filesystem::absolute(bundleOrLibrary, error).parent_path().parent_path() / "Resources";
}

std::string ModuleName(const std::filesystem::path& bundleOrLibrary)
{
    std::filesystem::path path = bundleOrLibrary;
    if (!path.has_filename())
        path = path.parent_path();
    return path.stem().string();
}

// The class the snapshot command draws: the module's first audio effect.
std::string EffectClassId(const std::filesystem::path& bundle)
{
    const host::BundleModule module(bundle);
    Steinberg::IPluginFactory& factory = module.Factory();
    for (Steinberg::int32 i = 0; i < factory.countClasses(); ++i) {
        Steinberg::PClassInfo info{};
        if (factory.getClassInfo(i, &info) == Steinberg::kResultOk &&
            std::string(info.category, strnlen(info.category, sizeof info.category)) == kVstAudioEffectClass) {
            return ClassIdText(info.cid);
        }
    }
    throw host::HostError(module.LibraryPath().string() + " offers no \"" + kVstAudioEffectClass + "\"");
}

void WriteText(const std::filesystem::path& file, const std::string& text)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(platform::OpenFile(file, "wb"), &std::fclose);
    if (!out || std::fwrite(text.data(), 1, text.size(), out.get()) != text.size() || std::fclose(out.release()) != 0)
        throw host::HostError("cannot write " + file.string());
}

}  // namespace

void RunModuleInfo(std::span<const std::string_view> arguments)
{
    const ModuleInfoRequest request = Parse(arguments);
    const std::filesystem::path bundle = LocateBundle(request.plugin);
    const std::filesystem::path resources = ResourcesOf(bundle);
    if (request.snapshots)
        DrawSnapshots(bundle, resources, EffectClassId(bundle));
    std::string json;
    {
        const host::BundleModule module(bundle);
        json = ModuleInfoJson(module.Factory(), ModuleName(bundle), resources);
    }
    if (request.output) {
        WriteText(*request.output, json);
        std::printf("Described %s in %s\n", bundle.string().c_str(), request.output->string().c_str());
    } else {
        std::fputs(json.c_str(), stdout);
    }
}

}  // namespace vibrascend::render
