// The effect processing on an audio thread while the UI side restores states, loads presets and
// makes editor edits: once the dust settles, the effect has applied exactly the values the
// parameters hold, and the published readout shows them.
#include "effect/BandName.h"
#include "effect/vst3/VibrascendVst3.h"
#include "effect/Quantise.h"
#include "ParameterChanges.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::vector<double> StateOf(VibrascendVst3& effect)
{
    MemoryStream stream;
    EXPECT_EQ(static_cast<IComponent*>(&effect)->getState(&stream), kResultOk);
    int64 size = 0;
    stream.seek(0, IBStream::kIBSeekEnd, &size);
    std::vector<double> values(static_cast<size_t>(size) / sizeof(double));
    std::memcpy(values.data(), stream.getData(), values.size() * sizeof(double));
    return values;
}

void Restore(VibrascendVst3& effect, const std::vector<double>& values)
{
    MemoryStream stream;
    int32 written = 0;
    stream.write(const_cast<double*>(values.data()), static_cast<int32>(values.size() * sizeof(double)), &written);
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    EXPECT_EQ(static_cast<IComponent*>(&effect)->setState(&stream), kResultOk);
}

}  // namespace

TEST(EffectThread, StatesPresetsAndEditsWhileProcessingEndInTheEffectExactly)
{
    auto* effect = new VibrascendVst3;
    ASSERT_EQ(effect->initialize(nullptr), kResultOk);
    ProcessSetup setup{kRealtime, kSample64, 64, 48000.0};
    ASSERT_EQ(effect->setupProcessing(setup), kResultOk);
    effect->setActive(true);
    effect->setProcessing(true);

    std::atomic<bool> stop{false};
    std::atomic<int> calls{0};
    std::thread audio([&] {
        std::vector<double> left(64, 0.25), right(64, -0.25);
        double* channels[2] = {left.data(), right.data()};
        vibrascend::host::ParameterChanges changes;
        for (int call = 0; !stop.load(); ++call) {
            changes.Clear();
            // The host automates the damping; the UI side never touches it after the start.
            changes.Add(CLS_VIBRASCEND::kDamping, (call % 101) / 100.0);
            AudioBusBuffers bus{};
            bus.numChannels = 2;
            bus.channelBuffers64 = channels;
            ProcessData data{};
            data.symbolicSampleSize = kSample64;
            data.numSamples = 64;
            data.numInputs = 1;
            data.numOutputs = 1;
            data.inputs = &bus;
            data.outputs = &bus;
            data.inputParameterChanges = &changes;
            effect->process(data);
            calls.fetch_add(1);
        }
    });

    std::vector<double> state = StateOf(*effect);
    ASSERT_EQ(state.size(), 13u);
    for (int k = 0; k < 200; ++k) {
        while (calls.load() < k)
            std::this_thread::yield();
        state[CLS_VIBRASCEND::kLfo1Freq] = 0.3 + k * 0.5;
        state[CLS_VIBRASCEND::kLowGain] = -30.0 + k * 0.1;
        Restore(*effect, state);
        const std::vector<double> copy = StateOf(*effect);
        EXPECT_EQ(copy[CLS_VIBRASCEND::kLfo1Freq], state[CLS_VIBRASCEND::kLfo1Freq]);
        EXPECT_EQ(copy[CLS_VIBRASCEND::kLowGain], state[CLS_VIBRASCEND::kLowGain]);
        ASSERT_TRUE(effect->LoadPreset(1 + k % 100));
        effect->SetParamFromEditor(CLS_VIBRASCEND::kLfo2Freq, (k % 50) / 49.0);
        effect->SetParamFromEditor(CLS_VIBRASCEND::kLfo2Target, (k % 4) / 3.0);
    }
    stop = true;
    audio.join();
    effect->setProcessing(false);
    effect->setActive(false);

    for (int i = 0; i < CLS_VIBRASCEND::kNumParams; ++i)
        EXPECT_EQ(effect->CachedParam(i), QuantiseParam(i, effect->GetParam(i)->Value())) << i;
    const float lfo1Hz = static_cast<float>(QuantiseParam(CLS_VIBRASCEND::kLfo1Freq,
                                                          effect->GetParam(CLS_VIBRASCEND::kLfo1Freq)->Value())) *
                         0.01f;
    EXPECT_STREQ(effect->Display(0).BandName(), BandNameOf(lfo1Hz));
    effect->terminate();
    effect->release();
}
