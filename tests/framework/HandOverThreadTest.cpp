// The audio side and the UI side of one plug-in at once: editor edits, state restores and copies,
// preset loads and host automation race against process calls on another thread. Values and
// state must come out exactly, and every value must reach the effect's ParamChanged.
#include "TestPlugin.h"
#include "framework/ParamChangeQueue.h"
#include "ParameterChanges.h"

#include "public.sdk/source/common/memorystream.h"

#include <array>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Records the value each ParamChanged saw, in order, under a lock of its own (the plug-in's lock
// belongs to the UI side, and ParamChanged runs on the audio side too).
class RecordingPlugin : public TestPlugin {
public:
    RecordingPlugin() : IFxBase(kDeclaration) {}
    void ParamChanged(int index) override
    {
        std::lock_guard<std::mutex> g(seenLock);
        TestPlugin::ParamChanged(index);
        seen.emplace_back(index, EffectValue(index));
    }
    // The value ParamChanged last saw for index, NaN when it never ran.
    double LastSeen(int index)
    {
        std::lock_guard<std::mutex> g(seenLock);
        for (auto it = seen.rbegin(); it != seen.rend(); ++it)
            if (it->first == index)
                return it->second;
        return std::numeric_limits<double>::quiet_NaN();
    }
    std::mutex seenLock;
    std::vector<std::pair<int, double>> seen;
};

class HandOverThread : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(plug->initialize(nullptr), kResultOk);
        ProcessSetup setup{kRealtime, kSample32, 32, 44100.0};
        ASSERT_EQ(plug->setupProcessing(setup), kResultOk);
    }
    void TearDown() override
    {
        StopAudio();
        plug->terminate();
        plug->release();
    }

    void Live(bool on)
    {
        plug->setActive(on);
        plug->setProcessing(on);
    }

    // Process calls of 32 frames until StopAudio; `automate` (if set) gives each call's host
    // changes from its call number.
    void StartAudio(void (*automate)(int call, vibrascend::host::ParameterChanges&) = nullptr)
    {
        audio = std::thread([this, automate] {
            std::vector<float> in(32, 0.5f), out(32);
            float* ins[2] = {in.data(), in.data()};
            float* outs[2] = {out.data(), out.data()};
            vibrascend::host::ParameterChanges changes;
            for (int call = 0; !stop.load(); ++call) {
                changes.Clear();
                if (automate)
                    automate(call, changes);
                AudioBusBuffers inBus{};
                inBus.numChannels = 2;
                inBus.channelBuffers32 = ins;
                AudioBusBuffers outBus{};
                outBus.numChannels = 2;
                outBus.channelBuffers32 = outs;
                ProcessData data{};
                data.symbolicSampleSize = kSample32;
                data.numSamples = 32;
                data.numInputs = 1;
                data.numOutputs = 1;
                data.inputs = &inBus;
                data.outputs = &outBus;
                data.inputParameterChanges = &changes;
                plug->process(data);
                calls.fetch_add(1);
            }
        });
    }
    void StopAudio()
    {
        stop = true;
        if (audio.joinable())
            audio.join();
    }
    // Lets the audio thread run a few calls, so that the race really is one.
    void AwaitCalls(int n)
    {
        const int target = calls.load() + n;
        while (calls.load() < target)
            std::this_thread::yield();
    }

    std::vector<double> State()
    {
        MemoryStream stream;
        EXPECT_EQ(static_cast<IComponent*>(plug)->getState(&stream), kResultOk);
        int64 size = 0;
        stream.seek(0, IBStream::kIBSeekEnd, &size);
        std::vector<double> values(static_cast<size_t>(size) / sizeof(double));
        std::memcpy(values.data(), stream.getData(), values.size() * sizeof(double));
        return values;
    }
    void Restore(const std::vector<double>& values)
    {
        MemoryStream stream;
        int32 written = 0;
        stream.write(const_cast<double*>(values.data()), static_cast<int32>(values.size() * sizeof(double)), &written);
        stream.seek(0, IBStream::kIBSeekSet, nullptr);
        static_cast<IComponent*>(plug)->setState(&stream);
    }

    RecordingPlugin* plug = new RecordingPlugin;
    std::thread audio;
    std::atomic<bool> stop{false};
    std::atomic<int> calls{0};
};

}  // namespace

TEST_F(HandOverThread, EditorEditsWhileProcessingReachTheEffect)
{
    Live(true);
    StartAudio();
    AwaitCalls(2);
    // Count 0..10 in steps of 1, Level -2..2 in steps of 0.5, Mode 0..2.
    double last[3] = {};
    for (int k = 0; k < 3000; ++k) {
        const int index = k % 3;
        const double normalized = ((k / 3) % 5) / 4.0;
        plug->SetParamFromEditor(index, normalized);
        last[index] = plug->GetParam(index)->Value();
        if (k % 500 == 0)
            AwaitCalls(1);
    }
    AwaitCalls(2);
    StopAudio();
    Live(false);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plug->GetParam(i)->Value(), last[i]) << i;
        EXPECT_EQ(plug->LastSeen(i), last[i]) << i;
    }
}

TEST_F(HandOverThread, StateRestoresAndCopiesStayExactWhileTheHostAutomates)
{
    Live(true);
    // The host automates Count only; the states differ in Level and Mode.
    StartAudio([](int call, vibrascend::host::ParameterChanges& changes) { changes.Add(0, (call % 11) / 10.0); });
    const std::vector<double> a{3.0, -1.5, 2.0};
    const std::vector<double> b{7.0, 0.5, 0.0};
    for (int k = 0; k < 400; ++k) {
        const std::vector<double>& wanted = k % 2 ? b : a;
        if (k % 50 == 0)
            AwaitCalls(1);
        Restore(wanted);
        const std::vector<double> copy = State();
        ASSERT_EQ(copy.size(), 3u);
        EXPECT_EQ(copy[1], wanted[1]);
        EXPECT_EQ(copy[2], wanted[2]);
        EXPECT_GE(copy[0], 0.0);
        EXPECT_LE(copy[0], 10.0);
        EXPECT_EQ(copy[0], static_cast<int>(copy[0]));
    }
    StopAudio();
    Restore(a);
    EXPECT_EQ(State(), a);
    Live(false);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(plug->LastSeen(i), a[static_cast<size_t>(i)]) << i;
}

TEST_F(HandOverThread, PresetLoadsWhileProcessingGiveThePresetValues)
{
    plug->AddPreset("First", std::array<double, 3>{3, 0.5, 0});
    plug->AddPreset("Second", std::array<double, 3>{8, -1.5, 2});
    const std::vector<double> values[2] = {{3.0, 0.5, 0.0}, {8.0, -1.5, 2.0}};
    Live(true);
    StartAudio();
    for (int k = 0; k < 400; ++k) {
        if (k % 50 == 0)
            AwaitCalls(1);
        ASSERT_TRUE(plug->LoadPreset(k % 2));
        EXPECT_EQ(State(), values[k % 2]);
        EXPECT_EQ(plug->CurrentPreset(), k % 2);
    }
    AwaitCalls(2);
    StopAudio();
    Live(false);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(plug->LastSeen(i), values[1][static_cast<size_t>(i)]) << i;
}

TEST_F(HandOverThread, HostPresetChangesAndEditorEditsMeetInOneState)
{
    plug->AddPreset("First", std::array<double, 3>{3, 0.5, 0});
    plug->AddPreset("Second", std::array<double, 3>{8, -1.5, 2});
    Live(true);
    // The host switches between the two presets; the editor sets Mode.
    StartAudio([](int call, vibrascend::host::ParameterChanges& changes) {
        if (call % 3 == 0)
            changes.Add(kPresetListId, (call / 3) % 2 / 3.0);
    });
    for (int k = 0; k < 2000; ++k)
        plug->SetParamFromEditor(2, (k % 3) / 2.0);
    StopAudio();
    Live(false);
    // Whatever order they met in, the effect saw the values that were left.
    const std::vector<double> state = State();
    ASSERT_EQ(state.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(plug->LastSeen(i), state[static_cast<size_t>(i)]) << i;
}

TEST_F(HandOverThread, QueuedEditsApplyAtOnceWhenTheAudioSideIsNotLive)
{
    // Never made live: the UI side applies its own edits, in their order.
    plug->seen.clear();
    StartAudio();
    for (int k = 0; k < 300; ++k)
        plug->SetParamFromEditor(k % 3, 0.25);
    StopAudio();
    ASSERT_EQ(plug->seen.size(), 300u);
    for (int k = 0; k < 300; ++k)
        EXPECT_EQ(plug->seen[static_cast<size_t>(k)].first, k % 3) << k;
}

TEST(ParamChangeQueue, KeepsOrderAndNotesAnOverflowInsteadOfAPartialChange)
{
    ParamChangeQueue queue;
    std::vector<int> taken;
    const auto take = [&](int index) { taken.push_back(index); };
    for (int i = 0; i < 5; ++i)
        queue.Push(i % 3);
    queue.TakeUpTo(queue.Published(), take);
    EXPECT_EQ(taken, (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_FALSE(queue.TakeOverflow());
    EXPECT_TRUE(queue.Empty());

    // Staged indexes wait for their change to be published; a consumer takes only up to the
    // count it read.
    taken.clear();
    queue.Stage(0);
    queue.Stage(1);
    const std::uint32_t before = queue.Published();
    queue.Publish();
    queue.TakeUpTo(before, take);
    EXPECT_TRUE(taken.empty());
    queue.TakeUpTo(queue.Published(), take);
    EXPECT_EQ(taken, (std::vector<int>{0, 1}));

    // A change larger than the ring is never published in part: the overflow stands for it, and
    // a consumer that cannot act on it yet keeps it.
    taken.clear();
    for (std::uint32_t i = 0; i < ParamChangeQueue::kCapacity + 5; ++i)
        queue.Stage(2);
    queue.Publish();
    queue.TakeUpTo(queue.Published(), take);
    EXPECT_TRUE(taken.empty());
    EXPECT_FALSE(queue.Empty());
    ASSERT_TRUE(queue.TakeOverflow());
    queue.KeepOverflow();
    EXPECT_TRUE(queue.TakeOverflow());
    EXPECT_TRUE(queue.Empty());
}
