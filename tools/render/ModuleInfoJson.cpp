#include "ModuleInfoJson.h"

#include "BundleSnapshots.h"
#include "HostError.h"

#include <pluginterfaces/base/funknown.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace vibrascend::render {

using namespace Steinberg;

namespace {

std::string FixedText(const char* text, std::size_t capacity) { return std::string(text, strnlen(text, capacity)); }

// A JSON string literal; the factory's texts are UTF-8 and pass through unchanged.
std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Scale(double scale)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", scale);
    return text;
}

// The class's extended record; a factory without IPluginFactory2 gives the basic one only.
PClassInfo2 ClassInfo(IPluginFactory& factory, IPluginFactory2* factory2, int32 index)
{
    PClassInfo2 info{};
    if (factory2 != nullptr && factory2->getClassInfo2(index, &info) == kResultOk)
        return info;
    PClassInfo basic{};
    if (factory.getClassInfo(index, &basic) != kResultOk)
        throw host::HostError("the factory does not describe its class " + std::to_string(index));
    std::memcpy(info.cid, basic.cid, sizeof info.cid);
    info.cardinality = basic.cardinality;
    std::memcpy(info.category, basic.category, sizeof info.category);
    std::memcpy(info.name, basic.name, sizeof info.name);
    return info;
}

// "Fx|Delay" lists "Fx" and "Delay".
std::vector<std::string> SubCategories(const std::string& joined)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < joined.size()) {
        std::size_t bar = joined.find('|', start);
        if (bar == std::string::npos)
            bar = joined.size();
        if (bar > start)
            parts.push_back(joined.substr(start, bar - start));
        start = bar + 1;
    }
    return parts;
}

std::string ClassJson(const PClassInfo2& info, const std::string& factoryVendor, const std::filesystem::path& resources)
{
    const std::string id = ClassIdText(info.cid);
    // Hosts show the factory's vendor for a class that names none of its own.
    std::string vendor = FixedText(info.vendor, sizeof info.vendor);
    if (vendor.empty())
        vendor = factoryVendor;
    std::string json = "    {\n";
    json += "      \"CID\": " + Quoted(id) + ",\n";
    json += "      \"Category\": " + Quoted(FixedText(info.category, sizeof info.category)) + ",\n";
    json += "      \"Name\": " + Quoted(FixedText(info.name, sizeof info.name)) + ",\n";
    json += "      \"Vendor\": " + Quoted(vendor) + ",\n";
    json += "      \"Version\": " + Quoted(FixedText(info.version, sizeof info.version)) + ",\n";
    json += "      \"SDKVersion\": " + Quoted(FixedText(info.sdkVersion, sizeof info.sdkVersion)) + ",\n";
    json += "      \"Sub Categories\": [";
    const auto subCategories = SubCategories(FixedText(info.subCategories, sizeof info.subCategories));
    for (std::size_t i = 0; i < subCategories.size(); ++i)
        json += (i ? ", " : "") + Quoted(subCategories[i]);
    json += "],\n";
    json += "      \"Class Flags\": " + std::to_string(info.classFlags) + ",\n";
    json += "      \"Cardinality\": " + std::to_string(info.cardinality) + ",\n";
    json += "      \"Snapshots\": [";
    const auto snapshots = FindSnapshots(resources, id);
    for (std::size_t i = 0; i < snapshots.size(); ++i) {
        json += (i ? ",\n" : "\n");
        json += "        {\"Scale\": " + Scale(snapshots[i].scale) + ", \"Path\": " + Quoted(snapshots[i].path) + "}";
    }
    json += snapshots.empty() ? "]\n" : "\n      ]\n";
    return json + "    }";
}

}  // namespace

std::string ClassIdText(const TUID cid)
{
    char8 text[40] = {};
    FUID::fromTUID(cid).toString(text);
    return text;
}

std::string ModuleInfoJson(IPluginFactory& factory, const std::string& moduleName,
                           const std::filesystem::path& resources)
{
    PFactoryInfo factoryInfo{};
    if (factory.getFactoryInfo(&factoryInfo) != kResultOk)
        throw host::HostError("the factory does not describe itself");
    const int32 count = factory.countClasses();
    if (count <= 0)
        throw host::HostError("the factory offers no class");
    IPluginFactory2* factory2 = nullptr;
    if (factory.queryInterface(IPluginFactory2::iid, reinterpret_cast<void**>(&factory2)) != kResultOk)
        factory2 = nullptr;
    const IPtr<IPluginFactory2> factory2Held = owned(factory2);
    std::vector<PClassInfo2> classes;
    for (int32 i = 0; i < count; ++i)
        classes.push_back(ClassInfo(factory, factory2, i));

    const std::string vendor = FixedText(factoryInfo.vendor, sizeof factoryInfo.vendor);
    const int32 flags = factoryInfo.flags;
    std::string json = "{\n";
    json += "  \"Name\": " + Quoted(moduleName) + ",\n";
    // The module has no version of its own to report; it is that of the classes it carries.
    json += "  \"Version\": " + Quoted(FixedText(classes.front().version, sizeof classes.front().version)) + ",\n";
    json += "  \"Factory Info\": {\n";
    json += "    \"Vendor\": " + Quoted(vendor) + ",\n";
    json += "    \"URL\": " + Quoted(FixedText(factoryInfo.url, sizeof factoryInfo.url)) + ",\n";
    json += "    \"E-Mail\": " + Quoted(FixedText(factoryInfo.email, sizeof factoryInfo.email)) + ",\n";
    json += "    \"Flags\": {\n";
    json += "      \"Unicode\": " + Bool(flags & PFactoryInfo::kUnicode) + ",\n";
    json += "      \"Classes Discardable\": " + Bool(flags & PFactoryInfo::kClassesDiscardable) + ",\n";
    json += "      \"Component Non Discardable\": " + Bool(flags & PFactoryInfo::kComponentNonDiscardable) + "\n";
    json += "    }\n";
    json += "  },\n";
    json += "  \"Compatibility\": [],\n";
    json += "  \"Classes\": [\n";
    for (std::size_t i = 0; i < classes.size(); ++i)
        json += ClassJson(classes[i], vendor, resources) + (i + 1 < classes.size() ? ",\n" : "\n");
    json += "  ]\n";
    return json + "}\n";
}

}  // namespace vibrascend::render
