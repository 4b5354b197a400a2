// The bundle's Contents/Resources/moduleinfo.json against what the module's factory answers, its
// snapshot pictures, and the moduleinfo command that makes both.
#include "BundleModule.h"
#include "PngRead.h"
#include "ProgramRun.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <pluginterfaces/base/funknown.h>
#include <pluginterfaces/base/ipluginbase.h>

#include <cstring>
#include <set>
#include <string>

namespace vibrascend::host::test {
namespace {

using nlohmann::json;
using namespace Steinberg;

const std::filesystem::path kBundle = VIBRASCEND_BUNDLE;
const std::filesystem::path kResources = kBundle / "Contents" / "Resources";

json ReadJson(const std::filesystem::path& file)
{
    const std::string text = ReadFile(file);
    EXPECT_FALSE(text.empty()) << file;
    return json::parse(text, nullptr, false);
}

std::string Text(const char* field, std::size_t capacity) { return std::string(field, strnlen(field, capacity)); }

std::set<std::string> Keys(const json& object)
{
    std::set<std::string> keys;
    for (const auto& item : object.items())
        keys.insert(item.key());
    return keys;
}

// The class id as the SDK writes it in text on this platform.
std::string IdText(const TUID cid)
{
    char8 text[40] = {};
    FUID::fromTUID(cid).toString(text);
    return text;
}

TEST(ModuleInfo, DescribesTheFactoryAndEveryClassItOffers)
{
    const json info = ReadJson(kResources / "moduleinfo.json");
    ASSERT_TRUE(info.is_object()) << "moduleinfo.json is not a JSON object";
    EXPECT_EQ(Keys(info), (std::set<std::string>{"Name", "Version", "Factory Info", "Compatibility", "Classes"}));
    EXPECT_EQ(info.value("Name", ""), "Vibrascend");
    ASSERT_TRUE(info["Compatibility"].is_array());
    EXPECT_TRUE(info["Compatibility"].empty());

    const BundleModule module(kBundle);
    IPluginFactory& factory = module.Factory();
    PFactoryInfo factoryInfo{};
    ASSERT_EQ(factory.getFactoryInfo(&factoryInfo), kResultOk);
    const json& described = info["Factory Info"];
    EXPECT_EQ(Keys(described), (std::set<std::string>{"Vendor", "URL", "E-Mail", "Flags"}));
    const std::string vendor = Text(factoryInfo.vendor, sizeof factoryInfo.vendor);
    EXPECT_EQ(described.value("Vendor", ""), vendor);
    EXPECT_EQ(described.value("URL", ""), Text(factoryInfo.url, sizeof factoryInfo.url));
    EXPECT_EQ(described.value("E-Mail", "?"), Text(factoryInfo.email, sizeof factoryInfo.email));
    const json& flags = described["Flags"];
    EXPECT_EQ(Keys(flags), (std::set<std::string>{"Unicode", "Classes Discardable", "Component Non Discardable"}));
    EXPECT_EQ(flags.value("Unicode", false), (factoryInfo.flags & PFactoryInfo::kUnicode) != 0);
    EXPECT_EQ(flags.value("Classes Discardable", true), (factoryInfo.flags & PFactoryInfo::kClassesDiscardable) != 0);
    EXPECT_EQ(flags.value("Component Non Discardable", true),
              (factoryInfo.flags & PFactoryInfo::kComponentNonDiscardable) != 0);

    IPluginFactory2* factory2 = nullptr;
    ASSERT_EQ(factory.queryInterface(IPluginFactory2::iid, reinterpret_cast<void**>(&factory2)), kResultOk);
    const IPtr<IPluginFactory2> held = owned(factory2);
    const json& classes = info["Classes"];
    ASSERT_TRUE(classes.is_array());
    ASSERT_EQ(classes.size(), static_cast<std::size_t>(factory.countClasses()));
    for (int32 i = 0; i < factory.countClasses(); ++i) {
        PClassInfo2 expected{};
        ASSERT_EQ(factory2->getClassInfo2(i, &expected), kResultOk);
        const json& entry = classes[static_cast<std::size_t>(i)];
        SCOPED_TRACE(entry.dump());
        EXPECT_EQ(Keys(entry), (std::set<std::string>{"CID", "Category", "Name", "Vendor", "Version", "SDKVersion",
                                                      "Sub Categories", "Class Flags", "Cardinality", "Snapshots"}));
        EXPECT_EQ(entry.value("CID", ""), IdText(expected.cid));
        EXPECT_EQ(entry.value("Category", ""), Text(expected.category, sizeof expected.category));
        EXPECT_EQ(entry.value("Name", ""), Text(expected.name, sizeof expected.name));
        // A class without a vendor of its own is shown with the factory's.
        const std::string classVendor = Text(expected.vendor, sizeof expected.vendor);
        EXPECT_EQ(entry.value("Vendor", ""), classVendor.empty() ? vendor : classVendor);
        EXPECT_EQ(entry.value("Version", ""), Text(expected.version, sizeof expected.version));
        EXPECT_EQ(entry.value("SDKVersion", ""), Text(expected.sdkVersion, sizeof expected.sdkVersion));
        std::string joined;
        for (const auto& part : entry["Sub Categories"]) {
            if (!joined.empty())
                joined += '|';
            joined += part.get<std::string>();
        }
        EXPECT_EQ(joined, Text(expected.subCategories, sizeof expected.subCategories));
        EXPECT_EQ(entry.value("Class Flags", -1), static_cast<int64_t>(expected.classFlags));
        EXPECT_EQ(entry.value("Cardinality", -1), expected.cardinality);
    }
    EXPECT_EQ(info.value("Version", ""), classes[0].value("Version", "?"));
}

TEST(ModuleInfo, ListsTheEditorSnapshotAtOneAndAtTwiceItsSizeWithEveryPixelDoubled)
{
    const json info = ReadJson(kResources / "moduleinfo.json");
    ASSERT_TRUE(info.is_object());
    const json& entry = info["Classes"][0];
    const std::string id = entry.value("CID", "");
    const json expected = json::parse(R"([{"Scale": 1.0, "Path": "Snapshots/)" + id + R"(_snapshot.png"},
                                          {"Scale": 2.0, "Path": "Snapshots/)" + id + R"(_snapshot_2.0x.png"}])");
    ASSERT_EQ(entry["Snapshots"], expected);

    const auto single = render::ReadPng(kResources / expected[0].value("Path", ""));
    const auto doubled = render::ReadPng(kResources / expected[1].value("Path", ""));
    EXPECT_EQ(single.width, 434);
    EXPECT_EQ(single.height, 480);
    ASSERT_EQ(doubled.width, 2 * single.width);
    ASSERT_EQ(doubled.height, 2 * single.height);
    int differing = 0;
    for (int y = 0; y < doubled.height; ++y) {
        for (int x = 0; x < doubled.width; ++x) {
            differing += doubled.pixels[static_cast<std::size_t>(y) * doubled.width + x] !=
                         single.pixels[static_cast<std::size_t>(y / 2) * single.width + x / 2];
        }
    }
    EXPECT_EQ(differing, 0) << "pixels of the 2x snapshot that are not their 1x pixel";
}

// A copy of the bundle's library alone, without the resources the build made.
std::filesystem::path BareBundle(const TempFolder& folder)
{
    const auto bundle = folder / "Vibrascend.vst3";
    const std::filesystem::path library = VIBRASCEND_BUNDLE_LIBRARY;
    const auto architecture = bundle / "Contents" / library.parent_path().filename();
    std::filesystem::create_directories(architecture);
    std::filesystem::copy_file(library, architecture / library.filename());
    return bundle;
}

TEST(ModuleInfoCommandLine, ListsOnlyTheSnapshotsTheBundleHoldsAndDrawsThemWhenAsked)
{
    TempFolder folder;
    const auto bundle = BareBundle(folder);
    const RunResult bare = RunRender(folder.Path(), "moduleinfo --plugin " + QuotedPath(bundle));
    ASSERT_EQ(bare.exitCode, 0) << bare.err;
    const json plain = json::parse(bare.out, nullptr, false);
    ASSERT_TRUE(plain.is_object()) << bare.out;
    EXPECT_EQ(plain["Classes"][0]["Snapshots"], json::array());

    const RunResult drawn =
        RunRender(folder.Path(), "moduleinfo --snapshots --plugin " + QuotedPath(bundle) + " info.json");
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err;
    const json withSnapshots = ReadJson(folder / "info.json");
    ASSERT_TRUE(withSnapshots.is_object());
    EXPECT_EQ(withSnapshots["Classes"][0]["Snapshots"].size(), 2u);
    for (const auto& snapshot : withSnapshots["Classes"][0]["Snapshots"])
        EXPECT_TRUE(std::filesystem::is_regular_file(bundle / "Contents" / "Resources" / snapshot.value("Path", "")));
    json withoutSnapshots = withSnapshots;
    withoutSnapshots["Classes"][0]["Snapshots"] = json::array();
    EXPECT_EQ(withoutSnapshots, plain) << "the snapshots are all that drawing them changes";

    const RunResult unknown = RunRender(folder.Path(), "moduleinfo --snapshot --plugin " + QuotedPath(bundle));
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("unknown option --snapshot"), std::string::npos) << unknown.err;
}

}  // namespace
}  // namespace vibrascend::host::test
