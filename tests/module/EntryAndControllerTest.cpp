#include "ModuleFixture.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstring>
#include <limits>
#include <vector>

using namespace module_test;

TEST(ModuleEntry, FactoryDescribesOneEffectClass)
{
    IPluginFactory& factory = Module().Factory();
    PFactoryInfo info{};
    ASSERT_EQ(factory.getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Tolmira");
    EXPECT_STREQ(info.email, "");
    EXPECT_EQ(info.flags, 16);
    EXPECT_EQ(std::strncmp(info.url, "https://", 8), 0);
    ASSERT_EQ(factory.countClasses(), 1);

    FUnknownPtr<IPluginFactory2> factory2(&factory);
    ASSERT_TRUE(factory2);
    PClassInfo2 cls{};
    ASSERT_EQ(factory2->getClassInfo2(0, &cls), kResultOk);
    const unsigned char expected[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                        0x54, 0x6F, 0x4D, 0x69, 0x74, 0x33, 0x6A, 0x61};
    EXPECT_EQ(std::memcmp(cls.cid, expected, 16), 0);
    EXPECT_EQ(cls.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(cls.category, "Audio Module Class");
    EXPECT_STREQ(cls.name, "Vibrascend");
    EXPECT_EQ(cls.classFlags, 2u);
    EXPECT_STREQ(cls.subCategories, "Fx");
    EXPECT_STREQ(cls.vendor, "");
    EXPECT_STREQ(cls.version, "1.1.0");
    EXPECT_STREQ(cls.sdkVersion, "VST 3.6.5");
    EXPECT_EQ(factory.getClassInfo(1, nullptr), kInvalidArgument);
}

TEST(ModuleEntry, SecondFactoryCallSharesTheFactory)
{
    IPluginFactory* first = &Module().Factory();
    auto get = reinterpret_cast<IPluginFactory* (*)()>(Module().Symbol("GetPluginFactory"));
    ASSERT_NE(get, nullptr);
    IPluginFactory* again = get();
    EXPECT_EQ(again, first);
    again->release();
}

TEST(ModuleEntry, OneObjectPlaysEveryRole)
{
    Instance plug;
    ASSERT_TRUE(plug.Component() && plug.Processor() && plug.Controller() && plug.Units());
    FUnknownPtr<IEditController2> controller2(plug.Component());
    FUnknownPtr<IConnectionPoint> connection(plug.Component());
    EXPECT_TRUE(controller2);
    EXPECT_TRUE(connection);
    FUnknownPtr<FUnknown> a(plug.Controller());
    FUnknownPtr<FUnknown> b(plug.Component());
    EXPECT_EQ(a.get(), b.get());
    TUID cid;
    EXPECT_EQ(plug.Component()->getControllerClassId(cid), kNotImplemented);
    EXPECT_EQ(plug.Controller()->setComponentState(nullptr), kNotImplemented);

    void* obj = nullptr;
    const TUID wrong = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_NE(Module().Factory().createInstance(wrong, IComponent::iid, &obj), kResultOk);
    EXPECT_EQ(obj, nullptr);
}

TEST(Controller, HostSeesPresetListThenThirteenParametersThenBypass)
{
    Instance plug;
    IEditController* c = plug.Controller();
    ASSERT_EQ(c->getParameterCount(), 15);
    ParameterInfo info{};
    ASSERT_EQ(c->getParameterInfo(0, info), kResultTrue);
    EXPECT_EQ(info.id, kPresetList);
    EXPECT_EQ(Ascii(info.title), "Presets");
    EXPECT_EQ(info.stepCount, 149);

    struct Expected {
        const char* title;
        const char* units;
        int32 steps;
        const char* defaultText;
    };
    const Expected expected[13] = {
        {"Split Freq", "Hz", 19980, "1000"}, {"Damping", "%", 100, "50"},         {"Low Gain", "dB", 0, "0"},
        {"High Gain", "dB", 0, "0"},         {"Out Gain", "dB", 0, "0"},          {"LFO1 Target", "", 3, "Out Gain"},
        {"LFO1 Wave", "", 8, "Golden Sine"}, {"LFO1 Freq", "Hz", 0, "4.00"},      {"LFO1 Depth", "%", 100, "30"},
        {"LFO2 Target", "", 3, "No Assign"}, {"LFO2 Wave", "", 8, "Golden Sine"}, {"LFO2 Freq", "Hz", 0, "4.00"},
        {"LFO2 Depth", "%", 100, "30"},
    };
    for (int i = 0; i < 13; ++i) {
        ASSERT_EQ(c->getParameterInfo(i + 1, info), kResultTrue);
        EXPECT_EQ(info.id, static_cast<ParamID>(i));
        EXPECT_EQ(Ascii(info.title), expected[i].title);
        EXPECT_EQ(Ascii(info.units), expected[i].units);
        EXPECT_EQ(info.stepCount, expected[i].steps) << expected[i].title;
        EXPECT_EQ(info.unitId, kRootUnitId);
        EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
        String128 text{};
        ASSERT_EQ(c->getParamStringByValue(info.id, info.defaultNormalizedValue, text), kResultOk);
        EXPECT_EQ(Ascii(text), expected[i].defaultText) << expected[i].title;
        EXPECT_DOUBLE_EQ(c->getParamNormalized(info.id), info.defaultNormalizedValue);
    }
    ASSERT_EQ(c->getParameterInfo(14, info), kResultTrue);
    EXPECT_EQ(info.id, kBypass);
    EXPECT_EQ(Ascii(info.title), "Bypass");
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass);
    EXPECT_EQ(info.stepCount, 1);
    EXPECT_EQ(info.unitId, kRootUnitId);
    EXPECT_EQ(info.defaultNormalizedValue, 0.0);
    EXPECT_EQ(c->getParamNormalized(kBypass), 0.0);
    EXPECT_EQ(c->getParameterInfo(15, info), kResultFalse);
    EXPECT_EQ(c->getParameterInfo(-1, info), kResultFalse);
    EXPECT_DOUBLE_EQ(plug.PlainOf(0, 0.5), 5015.0);
}

TEST(Controller, TextConversionsBothWays)
{
    Instance plug;
    IEditController* c = plug.Controller();
    String128 text{};
    UString(text, 128).fromAscii("800");
    ParamValue normalized = 0;
    ASSERT_EQ(c->getParamValueByString(0, text, normalized), kResultTrue);
    EXPECT_NEAR(plug.PlainOf(0, normalized), 800.0, 1e-9);
    ASSERT_EQ(c->getParamStringByValue(6, 2.0 / 8.0, text), kResultOk);
    EXPECT_EQ(Ascii(text), "Triangle");
    ASSERT_EQ(c->getParamStringByValue(2, 1.0, text), kResultOk);
    EXPECT_EQ(Ascii(text), "6.0");
    EXPECT_EQ(c->getParamStringByValue(0xFFFFFFFF, 0.5, text), kResultFalse);
    EXPECT_EQ(c->setParamNormalized(0xFFFFFFFF, 0.5), kResultFalse);
    EXPECT_EQ(c->getParamNormalized(0xFFFFFFFF), 0.0);
}

TEST(Controller, ProgramListNamesTheCatalogue)
{
    Instance plug;
    IUnitInfo* u = plug.Units();
    EXPECT_EQ(u->getUnitCount(), 1);
    EXPECT_EQ(u->getProgramListCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(u->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, static_cast<ProgramListID>(kPresetList));
    EXPECT_EQ(list.programCount, 150);
    String128 name{};
    ASSERT_EQ(u->getProgramName(list.id, 0, name), kResultOk);
    EXPECT_EQ(Ascii(name), "---- default ----");
    ASSERT_EQ(u->getProgramName(list.id, 73, name), kResultOk);
    EXPECT_EQ(Ascii(name), "7.83 Hz (Schumann Resonance)");
    ASSERT_EQ(u->getProgramName(list.id, 116, name), kResultOk);
    EXPECT_EQ(Ascii(name), "Solfeggio - 936 Hz (Pineal Gland Activator)");
    ASSERT_EQ(u->getProgramName(list.id, 117, name), kResultOk);
    EXPECT_EQ(Ascii(name), "- 118 -");
    EXPECT_EQ(u->getSelectedUnit(), kRootUnitId);
}

TEST(Controller, PresetChangeArrivesThroughProcess)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 512, kSample32), kResultOk);
    plug.Automate(kPresetList, 73.0 / 149.0);
    EXPECT_DOUBLE_EQ(plug.Controller()->getParamNormalized(kPresetList), 73.0 / 149.0);
    EXPECT_NEAR(plug.PlainOf(7, plug.Controller()->getParamNormalized(7)), 7.83, 1e-9);
    EXPECT_NEAR(plug.PlainOf(8, plug.Controller()->getParamNormalized(8)), 15.0, 1e-9);

    plug.Automate(0, 0.0);
    plug.Automate(kPresetList, 0.0);  // "---- default ----" brings back the defaults
    EXPECT_NEAR(plug.PlainOf(0, plug.Controller()->getParamNormalized(0)), 1000.0, 1e-9);
    EXPECT_NEAR(plug.PlainOf(8, plug.Controller()->getParamNormalized(8)), 30.0, 1e-9);
}

namespace {

std::vector<uint8> StateOf(Instance& plug)
{
    MemoryStream stream;
    EXPECT_EQ(plug.Component()->getState(&stream), kResultOk);
    const auto* bytes = reinterpret_cast<const uint8*>(stream.getData());
    return std::vector<uint8>(bytes, bytes + stream.getSize());
}

tresult SetStateOf(Instance& plug, const std::vector<uint8>& bytes, int64* endPosition = nullptr)
{
    MemoryStream stream;
    stream.write(const_cast<uint8*>(bytes.data()), static_cast<int32>(bytes.size()), nullptr);
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    const tresult result = plug.Component()->setState(&stream);
    if (endPosition)
        stream.tell(endPosition);
    return result;
}

}  // namespace

TEST(ComponentState, ThirteenDoublesAndTheBypassWordRoundTrip)
{
    for (const bool bypassed : {false, true}) {
        Instance source;
        source.Controller()->setParamNormalized(0, source.NormalizedOf(0, 800));
        source.Controller()->setParamNormalized(7, source.NormalizedOf(7, 7.83));
        source.Automate(kBypass, bypassed ? 1.0 : 0.0);
        const std::vector<uint8> state = StateOf(source);
        ASSERT_EQ(state.size(), 108u);
        double values[13];
        std::memcpy(values, state.data(), sizeof values);
        EXPECT_EQ(values[0], 800.0);
        EXPECT_EQ(values[5], 1.0);
        EXPECT_NEAR(values[7], 7.83, 1e-12);
        int32 word = -1;
        std::memcpy(&word, state.data() + 104, 4);
        EXPECT_EQ(word, bypassed ? 1 : 0);

        // The target starts the other way round, so that a bypass left as it was shows.
        Instance target;
        target.Controller()->setParamNormalized(kBypass, bypassed ? 0.0 : 1.0);
        int64 pos = 0;
        ASSERT_EQ(SetStateOf(target, state, &pos), kResultOk);
        for (ParamID id = 0; id < 13; ++id)
            EXPECT_EQ(target.Controller()->getParamNormalized(id), source.Controller()->getParamNormalized(id));
        EXPECT_EQ(target.Controller()->getParamNormalized(kBypass), bypassed ? 1.0 : 0.0);
        EXPECT_EQ(pos, 108);
        EXPECT_EQ(StateOf(target), state);
    }
}

TEST(ComponentState, OlderStatesOfThirteenDoublesLoadExactlyAndLeaveBypass)
{
    Instance source;
    source.Controller()->setParamNormalized(2, 0.37);
    source.Controller()->setParamNormalized(11, 0.61);
    std::vector<uint8> older = StateOf(source);
    older.resize(104);
    for (const double bypass : {0.0, 1.0}) {
        Instance target;
        target.Controller()->setParamNormalized(kBypass, bypass);
        int64 pos = 0;
        ASSERT_EQ(SetStateOf(target, older, &pos), kResultOk);
        EXPECT_EQ(pos, 104);
        const std::vector<uint8> after = StateOf(target);
        ASSERT_EQ(after.size(), 108u);
        EXPECT_EQ(std::vector<uint8>(after.begin(), after.begin() + 104), older);
        EXPECT_EQ(target.Controller()->getParamNormalized(kBypass), bypass);
    }
}

TEST(ComponentState, ShortAndCorruptStatesLoseNothing)
{
    Instance plug;
    ASSERT_EQ(plug.Controller()->setParamNormalized(0, 0.3), kResultOk);
    MemoryStream good;
    ASSERT_EQ(plug.Component()->getState(&good), kResultOk);
    const auto* bytes = reinterpret_cast<const uint8*>(good.getData());
    const std::vector<uint8> whole(bytes, bytes + good.getSize());
    ASSERT_EQ(whole.size(), 108u);

    // Another instance, edited away from that state and bypassed: no cut of the state may change
    // it, except the one that is an older state of the thirteen values alone.
    Instance target;
    ASSERT_EQ(target.Controller()->setParamNormalized(2, 0.9), kResultOk);
    ASSERT_EQ(target.Controller()->setParamNormalized(kBypass, 1.0), kResultOk);
    MemoryStream reference;
    ASSERT_EQ(target.Component()->getState(&reference), kResultOk);
    const auto* refBytes = reinterpret_cast<const uint8*>(reference.getData());
    const std::vector<uint8> expected(refBytes, refBytes + reference.getSize());
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        if (cut == 104)
            continue;
        MemoryStream stream;
        stream.write(const_cast<uint8*>(whole.data()), static_cast<int32>(cut), nullptr);
        stream.seek(0, IBStream::kIBSeekSet, nullptr);
        EXPECT_EQ(target.Component()->setState(&stream), kResultFalse) << cut;
        MemoryStream after;
        ASSERT_EQ(target.Component()->getState(&after), kResultOk);
        const auto* afterBytes = reinterpret_cast<const uint8*>(after.getData());
        EXPECT_EQ(std::vector<uint8>(afterBytes, afterBytes + after.getSize()), expected) << cut;
    }

    // A complete record with one value that is not a number is refused as a whole.
    for (int bad = 0; bad < 13; ++bad) {
        std::vector<uint8> corrupt = whole;
        const double nan = std::numeric_limits<double>::quiet_NaN();
        std::memcpy(corrupt.data() + 8 * bad, &nan, 8);
        MemoryStream stream;
        stream.write(corrupt.data(), static_cast<int32>(corrupt.size()), nullptr);
        stream.seek(0, IBStream::kIBSeekSet, nullptr);
        EXPECT_EQ(target.Component()->setState(&stream), kResultFalse) << bad;
        MemoryStream after;
        ASSERT_EQ(target.Component()->getState(&after), kResultOk);
        const auto* afterBytes = reinterpret_cast<const uint8*>(after.getData());
        EXPECT_EQ(std::vector<uint8>(afterBytes, afterBytes + after.getSize()), expected) << bad;
    }

    // A bypass word other than 0 and 1 is not ours either.
    for (const int32 word : {2, -1, 0x100}) {
        std::vector<uint8> corrupt = whole;
        std::memcpy(corrupt.data() + 104, &word, 4);
        EXPECT_EQ(SetStateOf(target, corrupt), kResultFalse) << word;
        EXPECT_EQ(StateOf(target), expected) << word;
    }
    EXPECT_EQ(target.Controller()->getParamNormalized(kBypass), 1.0);
}

TEST(ComponentState, ValuesAreConformedAsHostEditsWouldBe)
{
    Instance plug;
    MemoryStream stream;
    // Split Freq between two steps and above its range, Damping between steps, a gain far out.
    double values[13] = {1000.4, 50.6, 99.0, -1e9, 0.0, 2.7, 1.0, 4.0, 30.0, 0.0, 1.0, 4.0, 30.0};
    stream.write(values, sizeof values, nullptr);
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(plug.Component()->setState(&stream), kResultOk);
    EXPECT_NEAR(plug.PlainOf(0, plug.Controller()->getParamNormalized(0)), 1000.0, 1e-9);
    EXPECT_NEAR(plug.PlainOf(1, plug.Controller()->getParamNormalized(1)), 51.0, 1e-9);
    EXPECT_NEAR(plug.PlainOf(2, plug.Controller()->getParamNormalized(2)), 6.0, 1e-9);
    EXPECT_NEAR(plug.PlainOf(3, plug.Controller()->getParamNormalized(3)), -64.0, 1e-9);
    EXPECT_NEAR(plug.PlainOf(5, plug.Controller()->getParamNormalized(5)), 3.0, 1e-9);
}

TEST(ControllerValues, OutOfRangeAndNanPositionsAreClampedOrRefused)
{
    Instance plug;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_DOUBLE_EQ(plug.PlainOf(0, 2.0), 20000.0);
    EXPECT_DOUBLE_EQ(plug.PlainOf(0, -1.0), 20.0);
    EXPECT_DOUBLE_EQ(plug.PlainOf(0, nan), 20.0);
    EXPECT_DOUBLE_EQ(plug.PlainOf(kPresetList, 7.0), 149.0);
    EXPECT_EQ(plug.Controller()->plainParamToNormalized(0, nan), 0.0);
    EXPECT_EQ(plug.Controller()->plainParamToNormalized(kPresetList, 1e6), 1.0);
    EXPECT_EQ(plug.Controller()->setParamNormalized(0, nan), kResultFalse);
    String128 text{};
    EXPECT_EQ(plug.Controller()->getParamStringByValue(0, nan, text), kResultFalse);
    ASSERT_EQ(plug.Controller()->getParamStringByValue(0, 3.0, text), kResultOk);
}
