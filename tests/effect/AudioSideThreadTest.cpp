// The audio side never waits for the UI side: process calls run to their end while the UI side
// holds the plug-in's lock and sits inside state calls whose streams block, and the UI side
// answers exactly the values it set, whether or not the audio side has taken them yet.
#include "effect/vst3/VibrascendVst3.h"
#include "ParameterChanges.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A stream whose reads and writes wait until the test releases them; reads then serve `content`.
class BlockingStream final : public IBStream {
public:
    explicit BlockingStream(std::vector<uint8> bytes = {}) : content(std::move(bytes)) {}

    tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) override
    {
        Block();
        const int32 n = std::max<int32>(0, std::min<int32>(numBytes, static_cast<int32>(content.size()) - position));
        if (n > 0)
            std::memcpy(buffer, content.data() + position, static_cast<size_t>(n));
        position += n;
        if (numBytesRead)
            *numBytesRead = n;
        return kResultOk;
    }
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override
    {
        Block();
        const auto* bytes = static_cast<const uint8*>(buffer);
        content.insert(content.end(), bytes, bytes + numBytes);
        if (numBytesWritten)
            *numBytesWritten = numBytes;
        return kResultOk;
    }
    tresult PLUGIN_API seek(int64 pos, int32, int64* result) override
    {
        position = static_cast<int32>(pos);
        if (result)
            *result = pos;
        return kResultOk;
    }
    tresult PLUGIN_API tell(int64* pos) override
    {
        if (pos)
            *pos = position;
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    bool Entered() const { return entered.load(); }
    void Release()
    {
        std::lock_guard<std::mutex> g(gate);
        released = true;
        opened.notify_all();
    }

private:
    void Block()
    {
        entered = true;
        std::unique_lock<std::mutex> g(gate);
        opened.wait(g, [this] { return released; });
    }

    std::vector<uint8> content;
    int32 position = 0;
    std::atomic<bool> entered{false};
    std::mutex gate;
    std::condition_variable opened;
    bool released = false;
};

std::vector<uint8> StateBytes(VibrascendVst3& effect)
{
    MemoryStream stream;
    EXPECT_EQ(static_cast<IComponent*>(&effect)->getState(&stream), kResultOk);
    const auto* bytes = reinterpret_cast<const uint8*>(stream.getData());
    return std::vector<uint8>(bytes, bytes + stream.getSize());
}

tresult SetStateBytes(VibrascendVst3& effect, const std::vector<uint8>& bytes)
{
    MemoryStream stream;
    stream.write(const_cast<uint8*>(bytes.data()), static_cast<int32>(bytes.size()), nullptr);
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    return static_cast<IComponent*>(&effect)->setState(&stream);
}

// One live effect with a 64-frame stereo block to process, automating "Out Gain" and, every
// seventh call, changing programs.
class AudioSide {
public:
    AudioSide() : effect(new VibrascendVst3)
    {
        EXPECT_EQ(effect->initialize(nullptr), kResultOk);
        ProcessSetup setup{kRealtime, kSample32, 64, 48000.0};
        EXPECT_EQ(effect->setupProcessing(setup), kResultOk);
        effect->setActive(true);
        effect->setProcessing(true);
    }
    ~AudioSide()
    {
        effect->setProcessing(false);
        effect->setActive(false);
        effect->terminate();
        effect->release();
    }

    void Process(int call, bool automate)
    {
        vibrascend::host::ParameterChanges changes;
        if (automate) {
            changes.Add(CLS_VIBRASCEND::kOutGain, (call % 50) / 49.0);
            if (call % 7 == 0)
                changes.Add(0x70727374, (call % 117) / 149.0);
        }
        float* ins[2] = {left.data(), right.data()};
        float* outs[2] = {left.data(), right.data()};
        AudioBusBuffers in{};
        in.numChannels = 2;
        in.channelBuffers32 = ins;
        AudioBusBuffers out{};
        out.numChannels = 2;
        out.channelBuffers32 = outs;
        ProcessData data{};
        data.symbolicSampleSize = kSample32;
        data.numSamples = 64;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &in;
        data.outputs = &out;
        data.inputParameterChanges = &changes;
        effect->process(data);
        std::fill(left.begin(), left.end(), 0.25f);
        std::fill(right.begin(), right.end(), -0.25f);
    }

    VibrascendVst3* effect;

private:
    std::vector<float> left = std::vector<float>(64, 0.25f);
    std::vector<float> right = std::vector<float>(64, -0.25f);
};

}  // namespace

TEST(AudioSideThread, ProcessReturnsWhileTheUiSideHoldsEveryLockAndBlocksInStateCalls)
{
    AudioSide audio;
    VibrascendVst3& effect = *audio.effect;
    BlockingStream reading(StateBytes(effect));
    BlockingStream writing;
    std::thread restoring([&] { static_cast<IComponent*>(&effect)->setState(&reading); });
    std::thread saving([&] { static_cast<IComponent*>(&effect)->getState(&writing); });
    while (!reading.Entered() || !writing.Entered())
        std::this_thread::yield();

    // This thread takes the plug-in's lock on top, and edits from the editor wait behind it.
    std::unique_lock<platform::RecursiveLock> held(effect.Lock());
    std::thread editing([&] { effect.SetParamFromEditor(CLS_VIBRASCEND::kLowGain, 0.3); });

    std::atomic<int> calls{0};
    auto processing = std::async(std::launch::async, [&] {
        for (int call = 0; call < 2000; ++call) {
            audio.Process(call, true);
            calls.fetch_add(1);
        }
    });
    // A process call that waited for any of it would never end: the limit is only a safety net
    // for the test itself, far above what 2000 calls take.
    const bool finished = processing.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
    EXPECT_TRUE(finished) << "process calls stalled after " << calls.load();
    EXPECT_TRUE(reading.Entered());

    held.unlock();
    reading.Release();
    writing.Release();
    restoring.join();
    saving.join();
    editing.join();
    processing.wait();
}

TEST(AudioSideThread, StateSetIsTheStateReadBeforeAndAfterTheAudioSideTakesIt)
{
    AudioSide audio;
    VibrascendVst3& effect = *audio.effect;
    audio.Process(0, false);
    std::vector<uint8> state = StateBytes(effect);
    ASSERT_EQ(state.size(), 108u);
    const double lowGain = -12.5;
    const double split = 3210.0;
    std::memcpy(state.data() + 8 * CLS_VIBRASCEND::kLowGain, &lowGain, 8);
    std::memcpy(state.data() + 8 * CLS_VIBRASCEND::kSplitFreq, &split, 8);

    // Live and not yet processed: the effect has not taken the state, the UI side answers it.
    ASSERT_EQ(SetStateBytes(effect, state), kResultOk);
    EXPECT_NE(effect.EffectValue(CLS_VIBRASCEND::kLowGain), lowGain);
    EXPECT_EQ(StateBytes(effect), state);
    audio.Process(1, false);
    EXPECT_EQ(effect.EffectValue(CLS_VIBRASCEND::kLowGain), lowGain);
    EXPECT_EQ(effect.EffectValue(CLS_VIBRASCEND::kSplitFreq), split);
    EXPECT_EQ(StateBytes(effect), state);

    // With the audio side processing all the while, every set state reads back bit for bit.
    std::atomic<bool> stop{false};
    std::thread processing([&] {
        for (int call = 2; !stop.load(); ++call)
            audio.Process(call, false);
    });
    for (int k = 0; k < 300; ++k) {
        const double freq = 0.01 + k * 0.37;
        std::memcpy(state.data() + 8 * CLS_VIBRASCEND::kLfo1Freq, &freq, 8);
        ASSERT_EQ(SetStateBytes(effect, state), kResultOk);
        EXPECT_EQ(StateBytes(effect), state) << k;
    }
    stop = true;
    processing.join();
}

TEST(AudioSideThread, OneChangeIsTakenWholeWhileAnotherFollows)
{
    AudioSide audio;
    VibrascendVst3& effect = *audio.effect;
    audio.Process(0, false);
    std::vector<uint8> first = StateBytes(effect);
    std::vector<uint8> second = first;
    for (int i : {CLS_VIBRASCEND::kLowGain, CLS_VIBRASCEND::kHighGain, CLS_VIBRASCEND::kOutGain}) {
        const double a = -20.0;
        const double b = 3.0;
        std::memcpy(first.data() + 8 * i, &a, 8);
        std::memcpy(second.data() + 8 * i, &b, 8);
    }
    // After each block the three gains the effect runs with come from one state, never a mix.
    std::atomic<bool> stop{false};
    std::atomic<int> mixed{0};
    std::thread processing([&] {
        for (int call = 1; !stop.load(); ++call) {
            audio.Process(call, false);
            const double low = effect.EffectValue(CLS_VIBRASCEND::kLowGain);
            if (effect.EffectValue(CLS_VIBRASCEND::kHighGain) != low || effect.EffectValue(CLS_VIBRASCEND::kOutGain) != low)
                mixed.fetch_add(1);
        }
    });
    for (int k = 0; k < 20000; ++k)
        ASSERT_EQ(SetStateBytes(effect, k % 2 ? first : second), kResultOk);
    stop = true;
    processing.join();
    EXPECT_EQ(mixed.load(), 0);
}
