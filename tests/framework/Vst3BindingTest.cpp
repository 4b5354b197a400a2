#include "TestPlugin.h"
#include "framework/vst3/IFxVST3View.h"
#include "ParameterChanges.h"

#include "base/source/fstring.h"
#include "public.sdk/source/common/memorystream.h"
#include "pluginterfaces/base/ustring.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using vibrascend::host::ParameterChanges;

namespace {

class Binding : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(plug->initialize(nullptr), kResultOk);
        Setup(64, kSample32);
    }
    void TearDown() override
    {
        plug->terminate();
        plug->release();
    }
    tresult Setup(int maxBlock, int32 sampleSize, double rate = 44100.0)
    {
        ProcessSetup setup{kRealtime, sampleSize, maxBlock, rate};
        return plug->setupProcessing(setup);
    }

    // Runs one 32-bit stereo call over `frames` samples with inputs 1, 2, 3 ...
    void Process32(int frames, IParameterChanges* changes = nullptr)
    {
        in.assign(2, std::vector<float>(static_cast<size_t>(frames)));
        out.assign(2, std::vector<float>(static_cast<size_t>(frames), -7.0f));
        for (int i = 0; i < frames; ++i)
            in[0][static_cast<size_t>(i)] = in[1][static_cast<size_t>(i)] = static_cast<float>(i + 1);
        float* inPtrs[2] = {in[0].data(), in[1].data()};
        float* outPtrs[2] = {out[0].data(), out[1].data()};
        AudioBusBuffers inBus{};
        inBus.numChannels = 2;
        inBus.channelBuffers32 = inPtrs;
        AudioBusBuffers outBus{};
        outBus.numChannels = 2;
        outBus.channelBuffers32 = outPtrs;
        ProcessData data{};
        data.symbolicSampleSize = kSample32;
        data.numSamples = frames;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        data.inputParameterChanges = changes;
        ASSERT_EQ(plug->process(data), kResultOk);
    }

    TestPlugin* plug = new TestPlugin;
    std::vector<std::vector<float>> in, out;
};

std::string Ascii(const String128 s)
{
    char text[129];
    UString(const_cast<TChar*>(s), 128).toAscii(text, 129);
    return text;
}

}  // namespace

TEST_F(Binding, InitializeRegistersPresetListThenParametersThenBypass)
{
    EXPECT_TRUE(plug->ProcessingEnabled());
    ASSERT_EQ(plug->getParameterCount(), 5);
    ParameterInfo info{};
    ASSERT_EQ(plug->getParameterInfo(0, info), kResultTrue);
    EXPECT_EQ(info.id, kPresetListId);
    EXPECT_EQ(info.stepCount, 3);
    EXPECT_EQ(info.flags, ParameterInfo::kIsProgramChange | ParameterInfo::kIsList);
    EXPECT_EQ(Ascii(info.title), "Presets");
    ASSERT_EQ(plug->getParameterInfo(2, info), kResultTrue);
    EXPECT_EQ(info.id, 1u);
    EXPECT_EQ(Ascii(info.title), "Level");
    EXPECT_EQ(Ascii(info.units), "dB");
    EXPECT_EQ(info.stepCount, 0);
    EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, 3.5 / 4.0);
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
    ASSERT_EQ(plug->getParameterInfo(3, info), kResultTrue);
    EXPECT_EQ(info.stepCount, 2);
    ASSERT_EQ(plug->getParameterInfo(4, info), kResultTrue);
    EXPECT_EQ(info.id, kBypassId);
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass);
    EXPECT_EQ(info.stepCount, 1);
    EXPECT_EQ(info.defaultNormalizedValue, 0.0);
    String128 text{};
    ASSERT_EQ(plug->getParamStringByValue(kBypassId, 1.0, text), kResultOk);
    EXPECT_EQ(Ascii(text), "On");
}

TEST_F(Binding, RepeatedInitializeAndTerminate)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plug->terminate(), kResultOk);
        EXPECT_EQ(plug->getParameterCount(), 0);
        EXPECT_EQ(plug->initialize(nullptr), kResultOk);
        EXPECT_EQ(plug->getParameterCount(), 5);
        EXPECT_EQ(plug->getBusCount(kAudio, kInput), 1);
        EXPECT_EQ(plug->getBusCount(kAudio, kOutput), 1);
    }
}

TEST_F(Binding, ProcessesThirtyTwoBitThroughTheEffect)
{
    Process32(16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(out[1][static_cast<size_t>(i)], 2.0f * static_cast<float>(i + 1));
}

TEST_F(Binding, LongHostBlocksAreProcessedInPieces)
{
    Process32(200);
    EXPECT_EQ(plug->blocks, (std::vector<int>{64, 64, 64, 8}));
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(out[0][static_cast<size_t>(i)], 2.0f * static_cast<float>(i + 1)) << i;
}

TEST_F(Binding, SixtyFourBitUsesHostBuffersInPlace)
{
    ASSERT_EQ(Setup(32, kSample64), kResultOk);
    std::vector<double> left(100, 0.25), right(100, -0.5);
    double* ptrs[2] = {left.data(), right.data()};
    AudioBusBuffers bus{};
    bus.numChannels = 2;
    bus.channelBuffers64 = ptrs;
    ProcessData data{};
    data.symbolicSampleSize = kSample64;
    data.numSamples = 100;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &bus;
    data.outputs = &bus;
    ASSERT_EQ(plug->process(data), kResultOk);
    EXPECT_EQ(left[99], 0.5);
    EXPECT_EQ(right[0], -1.0);
}

// Every call binds the channels anew: a call that leaves a channel out reads silence there, and
// the next full call connects it again; a bus with more channels than the effect has gives it the
// first ones.
TEST_F(Binding, ChannelsAreBoundAgainOnEveryCall)
{
    constexpr int kFrames = 8;
    std::vector<std::vector<float>> source(3, std::vector<float>(kFrames));
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < kFrames; ++i)
            source[static_cast<size_t>(c)][static_cast<size_t>(i)] = static_cast<float>(10 * (c + 1) + i);
    const auto run = [&](int inChannels, bool nullSecond) {
        std::vector<std::vector<float>> sink(2, std::vector<float>(kFrames, -7.0f));
        float* inPtrs[3] = {source[0].data(), nullSecond ? nullptr : source[1].data(), source[2].data()};
        float* outPtrs[2] = {sink[0].data(), sink[1].data()};
        AudioBusBuffers inBus{};
        inBus.numChannels = inChannels;
        inBus.channelBuffers32 = inPtrs;
        AudioBusBuffers outBus{};
        outBus.numChannels = 2;
        outBus.channelBuffers32 = outPtrs;
        ProcessData data{};
        data.symbolicSampleSize = kSample32;
        data.numSamples = kFrames;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        EXPECT_EQ(plug->process(data), kResultOk);
        return sink;
    };
    const auto expectRight = [&](const std::vector<std::vector<float>>& sink, bool silent) {
        for (int i = 0; i < kFrames; ++i) {
            EXPECT_EQ(sink[0][static_cast<size_t>(i)], 2.0f * source[0][static_cast<size_t>(i)]) << i;
            EXPECT_EQ(sink[1][static_cast<size_t>(i)], silent ? 0.0f : 2.0f * source[1][static_cast<size_t>(i)]) << i;
        }
    };
    expectRight(run(2, false), false);
    expectRight(run(1, false), true);
    expectRight(run(2, false), false);
    expectRight(run(2, true), true);
    expectRight(run(3, false), false);
}

TEST_F(Binding, OddProcessCallsAreSafe)
{
    ProcessData data{};
    data.symbolicSampleSize = kSample32;
    data.numSamples = 64;
    EXPECT_EQ(plug->process(data), kResultOk);  // no busses at all

    std::array<float, 64> buffer{};
    float* ptrs[2] = {buffer.data(), nullptr};
    AudioBusBuffers bus{};
    bus.numChannels = 2;
    bus.channelBuffers32 = ptrs;
    data.numInputs = 1;
    data.inputs = &bus;
    data.numOutputs = 1;
    data.outputs = &bus;
    EXPECT_EQ(plug->process(data), kResultOk);  // one null channel pointer

    AudioBusBuffers none{};
    data.inputs = &none;
    data.outputs = &none;
    EXPECT_EQ(plug->process(data), kResultOk);  // zero channels, null buffer arrays

    data.numSamples = -5;
    EXPECT_EQ(plug->process(data), kResultOk);
    data.numSamples = 0;
    EXPECT_EQ(plug->process(data), kResultOk);
}

TEST_F(Binding, ParameterQueuesEndAtTheirLastPointAndSkipWhatTheyCannotRead)
{
    ParameterChanges changes;
    changes.Add(0, 0.1, 0);
    changes.Add(0, 0.9, 10);
    changes.Add(2, 0.0, 3);
    changes.Add(0xFFFFFFFF, 0.5, 0);
    changes.Add(12345, 0.5, 0);
    changes.Add(1, std::numeric_limits<double>::quiet_NaN(), 0);
    plug->applied.clear();
    Process32(8, &changes);
    EXPECT_EQ(plug->GetParam(0)->Value(), 9);
    EXPECT_EQ(plug->GetParam(2)->Value(), 0);
    EXPECT_EQ(plug->GetParam(1)->Value(), 1.5);
    // Points past the block count at its last frame; unknown ids and unreadable values change
    // nothing.
    ASSERT_FALSE(plug->applied.empty());
    for (int index : plug->applied)
        EXPECT_TRUE(index == 0 || index == 2) << index;
}

TEST_F(Binding, BypassAndPresetChangesThroughProcess)
{
    plug->AddPreset("P", std::array<double, 3>{2, 0.0, 0});
    plug->AddPreset("Q", std::array<double, 3>{4, 0.5, 2});
    ParameterChanges changes;
    changes.Add(kPresetListId, 1.0 / 3.0);
    changes.Add(kBypassId, 1.0);
    Process32(4, &changes);
    EXPECT_EQ(plug->CurrentPreset(), 1);
    EXPECT_EQ(plug->GetParam(0)->Value(), 4);
    EXPECT_EQ(out[0][3], 4.0f);  // bypassed: copied, not doubled
    EXPECT_DOUBLE_EQ(plug->getParamNormalized(kPresetListId), 1.0 / 3.0);
    EXPECT_EQ(plug->getParamNormalized(kBypassId), 1.0);
    // Bypass is the host's parameter: a new processing set-up keeps it.
    ASSERT_EQ(Setup(64, kSample32), kResultOk);
    EXPECT_EQ(plug->getParamNormalized(kBypassId), 1.0);
}

namespace {

struct BusPicture {
    SpeakerArrangement input = 0;
    SpeakerArrangement output = 0;
    std::string inputName;
    std::string outputName;
    int32 inputChannels = 0;
    int32 outputChannels = 0;
    bool operator==(const BusPicture&) const = default;
};

BusPicture PictureOf(TestPlugin* plug)
{
    BusPicture p;
    plug->getBusArrangement(kInput, 0, p.input);
    plug->getBusArrangement(kOutput, 0, p.output);
    BusInfo info{};
    plug->getBusInfo(kAudio, kInput, 0, info);
    p.inputName = Ascii(info.name);
    p.inputChannels = info.channelCount;
    plug->getBusInfo(kAudio, kOutput, 0, info);
    p.outputName = Ascii(info.name);
    p.outputChannels = info.channelCount;
    return p;
}

}  // namespace

TEST_F(Binding, BusArrangements)
{
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    SpeakerArrangement mono = SpeakerArr::kMono;
    EXPECT_EQ(plug->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
    EXPECT_EQ(plug->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
    EXPECT_EQ(plug->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse);
    EXPECT_EQ(plug->setBusArrangements(&stereo, 1, nullptr, 0), kResultFalse);
    SpeakerArrangement arr = 0;
    ASSERT_EQ(plug->getBusArrangement(kInput, 0, arr), kResultTrue);
    EXPECT_EQ(arr, SpeakerArr::kStereo);

    EXPECT_EQ(plug->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    ASSERT_EQ(plug->getBusArrangement(kOutput, 0, arr), kResultTrue);
    EXPECT_EQ(arr, SpeakerArr::kMono);
    BusInfo info{};
    ASSERT_EQ(plug->getBusInfo(kAudio, kInput, 0, info), kResultTrue);
    EXPECT_EQ(info.channelCount, 1);
    EXPECT_EQ(Ascii(info.name), "Main Input");
}

TEST_F(Binding, RefusedBusRequestsChangeNothing)
{
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    SpeakerArrangement surroundPair = SpeakerArr::kStereoSurround;  // two channels, not left and right
    const BusPicture before = PictureOf(plug);
    SpeakerArrangement twoMono[2] = {SpeakerArr::kMono, SpeakerArr::kMono};
    SpeakerArrangement twoStereo[2] = {stereo, stereo};
    EXPECT_EQ(plug->setBusArrangements(twoMono, 2, &stereo, 1), kResultFalse);
    EXPECT_EQ(PictureOf(plug), before);
    EXPECT_EQ(plug->setBusArrangements(&stereo, 1, twoStereo, 2), kResultFalse);
    EXPECT_EQ(PictureOf(plug), before);
    EXPECT_EQ(plug->setBusArrangements(&surroundPair, 1, &surroundPair, 1), kResultFalse);
    EXPECT_EQ(PictureOf(plug), before);
    EXPECT_EQ(plug->setBusArrangements(&stereo, 0, &stereo, 1), kResultFalse);
    EXPECT_EQ(PictureOf(plug), before);

    // A refused request leaves the channels connected: the next block still processes both.
    Process32(8);
    EXPECT_EQ(out[0][7], 16.0f);
    EXPECT_EQ(out[1][7], 16.0f);
}

TEST_F(Binding, SetupRejectsWhatItCannotProcess)
{
    EXPECT_EQ(Setup(64, 7), kResultFalse);
    EXPECT_EQ(Setup(64, kSample32, 0.0), kResultFalse);
    EXPECT_EQ(Setup(64, kSample32, std::numeric_limits<double>::quiet_NaN()), kResultFalse);
    EXPECT_EQ(Setup(1 << 30, kSample32), kResultOk);
    EXPECT_EQ(plug->canProcessSampleSize(kSample64), kResultTrue);
    EXPECT_EQ(plug->canProcessSampleSize(3), kResultFalse);
    EXPECT_EQ(plug->getTailSamples(), 0u);
    EXPECT_EQ(plug->getLatencySamples(), 0u);
}

TEST_F(Binding, ComponentStateRoundTripAndShortStates)
{
    plug->setParamNormalized(0, 0.7);
    MemoryStream saved;
    ASSERT_EQ(static_cast<IComponent*>(plug)->getState(&saved), kResultOk);
    int64 size = 0;
    saved.seek(0, IBStream::kIBSeekEnd, &size);
    EXPECT_EQ(size, 28);

    TestPlugin* other = new TestPlugin;
    saved.seek(0, IBStream::kIBSeekSet, nullptr);
    EXPECT_EQ(static_cast<IComponent*>(other)->setState(&saved), kResultOk);
    EXPECT_EQ(other->GetParam(0)->Value(), 7);

    // Every cut of a complete state is refused and changes nothing, except the one that is an
    // older state of the parameter values alone.
    const auto* bytes = reinterpret_cast<const uint8*>(saved.getData());
    const std::vector<uint8> whole(bytes, bytes + saved.getSize());
    other->setParamNormalized(1, 0.0);
    const std::vector<int> appliedBefore = other->applied;
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        if (cut == 24)
            continue;
        MemoryStream shortState;
        shortState.write(const_cast<uint8*>(whole.data()), static_cast<int32>(cut), nullptr);
        shortState.seek(0, IBStream::kIBSeekSet, nullptr);
        EXPECT_EQ(static_cast<IComponent*>(other)->setState(&shortState), kResultFalse) << cut;
        EXPECT_EQ(other->GetParam(0)->Value(), 7) << cut;
        EXPECT_EQ(other->GetParam(1)->Value(), -2) << cut;
        EXPECT_EQ(other->applied, appliedBefore) << cut;
    }
    EXPECT_EQ(static_cast<IComponent*>(other)->setState(nullptr), kInvalidArgument);

    // The controller keeps no state of its own.
    MemoryStream controllerState;
    EXPECT_EQ(static_cast<IEditController*>(other)->getState(&controllerState), kResultOk);
    controllerState.seek(0, IBStream::kIBSeekEnd, &size);
    EXPECT_EQ(size, 0);
    other->release();
}

TEST_F(Binding, ControllerValuesAndTexts)
{
    EXPECT_EQ(plug->setParamNormalized(2, 1.0), kResultOk);
    EXPECT_EQ(plug->GetParam(2)->Value(), 2);
    EXPECT_EQ(plug->setParamNormalized(99, 0.5), kResultFalse);
    EXPECT_EQ(plug->setParamNormalized(0, std::numeric_limits<double>::infinity()), kResultFalse);
    EXPECT_EQ(plug->getParamNormalized(99), 0.0);
    EXPECT_EQ(plug->plainParamToNormalized(99, 42.0), 1.0);
    EXPECT_DOUBLE_EQ(plug->plainParamToNormalized(kPresetListId, 1.0), 1.0 / 3.0);

    String128 text{};
    ASSERT_EQ(plug->getParamStringByValue(2, 0.5, text), kResultOk);
    EXPECT_EQ(Ascii(text), "B");
    ASSERT_EQ(plug->getParamStringByValue(1, 1.0, text), kResultOk);
    EXPECT_EQ(Ascii(text), "2.0");
    EXPECT_EQ(plug->getParamStringByValue(kPresetListId, 0.5, text), kResultFalse);

    ParamValue value = -1;
    String128 typed{};
    UString(typed, 128).fromAscii("-1.5 dB");
    ASSERT_EQ(plug->getParamValueByString(1, typed, value), kResultTrue);
    EXPECT_DOUBLE_EQ(value, 0.125);
    UString(typed, 128).fromAscii("abc");
    ASSERT_EQ(plug->getParamValueByString(0, typed, value), kResultTrue);
    EXPECT_EQ(value, 0.0);
}

TEST_F(Binding, UnitsAndProgramList)
{
    EXPECT_EQ(plug->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(plug->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(Ascii(unit.name), "Root Unit");
    EXPECT_EQ(unit.programListId, static_cast<ProgramListID>(kPresetListId));
    EXPECT_EQ(plug->getUnitInfo(1, unit), kResultFalse);
    EXPECT_EQ(plug->getUnitInfo(-1, unit), kResultFalse);
    ProgramListInfo list{};
    ASSERT_EQ(plug->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(Ascii(list.name), "Factory Presets");
    EXPECT_EQ(list.programCount, 4);
    EXPECT_EQ(plug->getProgramListInfo(1, list), kResultFalse);
    String128 name{};
    ASSERT_EQ(plug->getProgramName(kPresetListId, 3, name), kResultOk);
    EXPECT_EQ(Ascii(name), "- 4 -");
    // Outside the list: another list id, an index out of range, no place for the answer.
    for (const auto& [listId, index] : {std::pair<ProgramListID, int32>{5, 0}, {kPresetListId, 4}, {kPresetListId, -1}}) {
        EXPECT_EQ(plug->getProgramName(listId, index, name), kInvalidArgument) << listId << " " << index;
        EXPECT_EQ(plug->getProgramInfo(listId, index, "name", name), kInvalidArgument) << listId << " " << index;
    }
    EXPECT_EQ(plug->getProgramName(kPresetListId, 0, nullptr), kInvalidArgument);
    EXPECT_EQ(plug->getProgramInfo(kPresetListId, 0, "name", name), kNotImplemented);
}

TEST_F(Binding, ViewsWithoutAnEditor)
{
    EXPECT_EQ(plug->createView("other"), nullptr);
    EXPECT_EQ(plug->createView(nullptr), nullptr);
    IPlugView* first = plug->createView("editor");
    IPlugView* second = plug->createView("editor");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(plug->NumViews(), 2);
    EXPECT_EQ(first->isPlatformTypeSupported(kNativeViewType), kResultFalse);
    EXPECT_EQ(first->attached(nullptr, kNativeViewType), kResultFalse);
    ViewRect rect;
    EXPECT_EQ(first->getSize(&rect), kResultFalse);
    EXPECT_EQ(first->onSize(nullptr), kResultOk);
    EXPECT_EQ(first->checkSizeConstraint(&rect), kResultFalse);
    first->release();
    EXPECT_EQ(plug->NumViews(), 1);
    second->release();
    EXPECT_EQ(plug->NumViews(), 0);
}

TEST_F(Binding, EditNotificationsNeedAHandler)
{
    EXPECT_FALSE(plug->BeginParamEdit(0));
    EXPECT_FALSE(plug->PerformParamEdit(0, 0.5));
    EXPECT_FALSE(plug->EndParamEdit(0));
}
