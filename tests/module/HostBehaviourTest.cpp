#include "LockCounter.h"
#include "ModuleFixture.h"

#include "public.sdk/source/common/memorystream.h"

#include <atomic>
#include <limits>
#include <xmmintrin.h>
#include <cmath>
#include <cstdlib>
#include <new>
#include <thread>

#if defined(_WIN32)
#include "tools/hostkit/win32/ImportedAllocationCounter.h"
#else
#include "AllocationCounter.h"
#endif

using namespace module_test;

TEST(HostBehaviour, OddProcessCallsAnswerOk)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 512, kSample32), kResultOk);
    ProcessData data{};
    data.symbolicSampleSize = kSample32;
    data.numSamples = 256;
    EXPECT_EQ(plug.Processor()->process(data), kResultOk);  // no busses, no changes

    AudioBusBuffers empty{};
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &empty;
    data.outputs = &empty;
    EXPECT_EQ(plug.Processor()->process(data), kResultOk);  // zero channels, null buffers

    std::vector<float> out(256, 9.0f);
    float* outPtrs[2] = {out.data(), nullptr};
    AudioBusBuffers outBus{};
    outBus.numChannels = 2;
    outBus.channelBuffers32 = outPtrs;
    data.numInputs = 0;
    data.inputs = nullptr;
    data.outputs = &outBus;
    EXPECT_EQ(plug.Processor()->process(data), kResultOk);  // output only, one null channel
    for (float s : out)
        ASSERT_EQ(s, 0.0f);

    data.symbolicSampleSize = kSample64;
    data.outputs = &empty;
    EXPECT_EQ(plug.Processor()->process(data), kResultOk);
}

TEST(HostBehaviour, UnknownParameterIdsAreIgnored)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 512, kSample32), kResultOk);
    const double before = plug.Controller()->getParamNormalized(0);
    for (ParamID id : {ParamID{13}, ParamID{0xFFFFFFFF}, ParamID{0x7FFFFFFF}, ParamID{1000}})
        plug.Automate(id, 0.7);
    EXPECT_EQ(plug.Controller()->getParamNormalized(0), before);
}

TEST(HostBehaviour, ActivationAndLifecycleToggles)
{
    // The host context outlives the instance that is initialised with it.
    vibrascend::host::HostApplication host("again");
    Instance plug;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(plug.Component()->setActive(true), kResultOk);
        plug.Processor()->setProcessing(true);
        plug.Processor()->setProcessing(false);
        EXPECT_EQ(plug.Component()->setActive(false), kResultOk);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plug.Component()->terminate(), kResultOk);
        EXPECT_EQ(plug.Component()->initialize(&host), kResultOk);
        EXPECT_EQ(plug.Controller()->getParameterCount(), 15);
    }
    ASSERT_EQ(plug.Setup(44100, 128, kSample64), kResultOk);
    std::vector<std::vector<double>> audio(2, std::vector<double>(300, 0.1));
    plug.Run64(audio, 128);
    EXPECT_TRUE(std::isfinite(audio[0][299]));
}

TEST(HostBehaviour, UnsupportedArrangementsKeepTheBusses)
{
    Instance plug;
    SpeakerArrangement stereo = SpeakerArr::kStereo, mono = SpeakerArr::kMono, surround = SpeakerArr::k51;
    EXPECT_EQ(plug.Processor()->setBusArrangements(&surround, 1, &surround, 1), kResultFalse);
    EXPECT_EQ(plug.Processor()->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
    EXPECT_EQ(plug.Processor()->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse);
    EXPECT_EQ(plug.Processor()->setBusArrangements(&stereo, 1, nullptr, 0), kResultFalse);
    SpeakerArrangement arr = 0;
    ASSERT_EQ(plug.Processor()->getBusArrangement(kOutput, 0, arr), kResultTrue);
    EXPECT_EQ(arr, SpeakerArr::kStereo);
    ASSERT_EQ(plug.Setup(44100, 256, kSample32), kResultOk);
    std::vector<std::vector<float>> audio(2, std::vector<float>(512, 0.3f));
    plug.Run32(audio, 256);
    EXPECT_NE(audio[1][511], 0.3f);
    EXPECT_TRUE(std::isfinite(audio[1][511]));
}

TEST(HostBehaviour, ProcessOnAnotherThreadThanSetup)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 512, kSample64), kResultOk);
    std::vector<std::vector<double>> audio(2, std::vector<double>(4096, 0.2));
    std::thread audioThread([&] { plug.Run64(audio, 512); });
    audioThread.join();
    EXPECT_TRUE(std::isfinite(audio[0][4095]));
}

TEST(HostBehaviour, ControllerWritesWhileProcessingThreadSafe)
{
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 256, kSample64), kResultOk);
    std::atomic<bool> done{false};
    std::thread ui([&] {
        for (int i = 0; !done.load(); i = (i + 1) % 1000) {
            plug.Controller()->setParamNormalized(static_cast<ParamID>(i % 13), i / 1000.0);
            plug.Controller()->getParamNormalized(static_cast<ParamID>((i + 5) % 13));
        }
    });
    for (int round = 0; round < 40; ++round) {
        std::vector<std::vector<double>> audio(2, std::vector<double>(1024, 0.1));
        vibrascend::host::ParameterChanges changes;
        changes.Add(static_cast<ParamID>(round % 13), (round % 7) / 7.0);
        plug.Run64(audio, 256, &changes);
    }
    done = true;
    ui.join();
}

TEST(HostBehaviour, InstancesOnTwoThreadsThreadSafe)
{
    std::vector<std::vector<double>> first, second;
    auto render = [](std::vector<std::vector<double>>& out) {
        Instance plug;
        plug.Setup(44100, 512, kSample64);
        plug.Automate(kPresetList, 73.0 / 149.0);
        out.assign(2, std::vector<double>(20000, 0.0));
        for (size_t i = 0; i < out[0].size(); ++i)
            out[0][i] = out[1][i] = std::sin(static_cast<double>(i) * 0.05);
        plug.Run64(out, 512);
    };
    std::thread a([&] { render(first); });
    std::thread b([&] { render(second); });
    a.join();
    b.join();
    EXPECT_EQ(first, second);
}

namespace {

struct ProcessCounts {
    long allocations = 0;
    long locks = 0;
};

// Counts the allocations and the locks of one process call over stereo buffers.
template <typename Sample>
ProcessCounts CountsOfProcess(IAudioProcessor* processor, int32 sampleSize, int frames, IParameterChanges* changes)
{
    std::vector<Sample> left(static_cast<size_t>(frames), Sample(0.1)), right = left;
    Sample* ptrs[2] = {left.data(), right.data()};
    AudioBusBuffers bus{};
    bus.numChannels = 2;
    if constexpr (sizeof(Sample) == 4)
        bus.channelBuffers32 = reinterpret_cast<float**>(ptrs);
    else
        bus.channelBuffers64 = reinterpret_cast<double**>(ptrs);
    ProcessContext context{};
    context.projectTimeSamples = 123456;
    ProcessData data{};
    data.symbolicSampleSize = sampleSize;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &bus;
    data.outputs = &bus;
    data.inputParameterChanges = changes;
    data.processContext = &context;
    // The plug-in carries its own C++ runtime, whose allocations this program's operator new never
    // sees: they are counted where it calls into the C runtime (on Windows its imports, on Linux
    // the C library's functions, which this program replaces).
#if defined(_WIN32)
    platform::ImportedAllocationCounter inModule(Module().NativeHandle());
    EXPECT_GT(inModule.RedirectedImports(), 0);
    inModule.Start();
#else
    allocation_counter::Start();
#endif
    lock_counter::Start();
    processor->process(data);
    const long locks = lock_counter::Stop();
#if defined(_WIN32)
    const long allocations = inModule.Stop();
#else
    const long allocations = allocation_counter::Stop();
#endif
    return ProcessCounts{allocations, locks};
}

}  // namespace

TEST(HostBehaviour, ProcessAllocatesNothingAndTakesNoLock)
{
#if defined(VIBRASCEND_SANITIZED)
    GTEST_SKIP() << "allocations and locks are counted in builds without sanitizers";
#endif
    Instance plug;
    ASSERT_EQ(plug.Setup(44100, 512, kSample32), kResultOk);
#if !defined(_WIN32)
    // The counter sees allocations inside the plug-in: copying its state allocates there (the
    // stream's memory is taken before counting).
    MemoryStream copy;
    copy.setSize(4096);
    allocation_counter::Start();
    ASSERT_EQ(plug.Component()->getState(&copy), kResultOk);
    EXPECT_GT(allocation_counter::Stop(), 0);
#endif
    // Live, with changes from the UI side waiting for the audio side: a state, an editor-style
    // controller edit and a preset choice.
    MemoryStream state;
    ASSERT_EQ(plug.Component()->getState(&state), kResultOk);
    state.seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(plug.Component()->setState(&state), kResultOk);
    vibrascend::host::ParameterChanges changes;
    changes.Add(5, 1.0 / 3.0);
    changes.Add(6, 1.0 / 8.0);
    changes.Add(9, 2.0 / 3.0);
    changes.Add(10, 2.0 / 8.0);
    changes.Add(7, 0.3);
    changes.Add(kPresetList, 50.0 / 149.0);
    const bool countLocks = lock_counter::Available();
    for (const ProcessCounts counts : {CountsOfProcess<float>(plug.Processor(), kSample32, 512, &changes),
                                       CountsOfProcess<float>(plug.Processor(), kSample32, 2000, nullptr)}) {
        EXPECT_EQ(counts.allocations, 0);
        if (countLocks) {
            EXPECT_EQ(counts.locks, 0);
        }
    }
    // A never-used program slot chosen by the host.
    vibrascend::host::ParameterChanges unused;
    unused.Add(kPresetList, 140.0 / 149.0);
    const ProcessCounts fresh = CountsOfProcess<float>(plug.Processor(), kSample32, 64, &unused);
    EXPECT_EQ(fresh.allocations, 0);
    if (countLocks) {
        EXPECT_EQ(fresh.locks, 0);
    }
    ASSERT_EQ(plug.Setup(44100, 512, kSample64), kResultOk);
    for (const ProcessCounts counts : {CountsOfProcess<double>(plug.Processor(), kSample64, 512, &changes),
                                       CountsOfProcess<double>(plug.Processor(), kSample64, 0, nullptr)}) {
        EXPECT_EQ(counts.allocations, 0);
        if (countLocks) {
            EXPECT_EQ(counts.locks, 0);
        }
    }
}

namespace {

template <typename Sample>
bool Subnormal(Sample x)
{
    return x != 0 && std::fabs(x) < std::numeric_limits<Sample>::min();
}

// Runs `blocks` blocks of stereo input whose every sample is `value` (in place) and answers how
// many output samples were subnormal; checks that the caller's floating-point mode comes back.
template <typename Sample>
int SubnormalOutputs(Instance& plug, int32 sampleSize, Sample value, int blocks, unsigned hostMode)
{
    int found = 0;
    std::vector<Sample> left(256), right(256);
    for (int b = 0; b < blocks; ++b) {
        std::fill(left.begin(), left.end(), value);
        std::fill(right.begin(), right.end(), -value);
        Sample* ptrs[2] = {left.data(), right.data()};
        AudioBusBuffers bus{};
        bus.numChannels = 2;
        if constexpr (sizeof(Sample) == 4)
            bus.channelBuffers32 = reinterpret_cast<float**>(ptrs);
        else
            bus.channelBuffers64 = reinterpret_cast<double**>(ptrs);
        ProcessData data{};
        data.symbolicSampleSize = sampleSize;
        data.numSamples = 256;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &bus;
        data.outputs = &bus;
        const unsigned before = _mm_getcsr();
        _mm_setcsr(hostMode);
        plug.Processor()->process(data);
        const unsigned after = _mm_getcsr();
        _mm_setcsr(before);
        EXPECT_EQ(after, hostMode);
        for (int i = 0; i < 256; ++i)
            found += Subnormal(left[static_cast<size_t>(i)]) + Subnormal(right[static_cast<size_t>(i)]);
    }
    return found;
}

}  // namespace

TEST(HostBehaviour, NoOutputSampleIsSubnormalAndTheHostsFloatModeStays)
{
    // The host's modes: the default one, and one with flush-to-zero and upward rounding.
    for (const unsigned hostMode : {0x1F80u, 0x1F80u | 0x8000u | 0x4000u}) {
        Instance plug;
        ASSERT_EQ(plug.Setup(44100, 512, kSample32), kResultOk);
        // Through the first second the effect processes; after it, silence is copied.
        EXPECT_EQ(SubnormalOutputs<float>(plug, kSample32, std::numeric_limits<float>::denorm_min() * 7, 200, hostMode),
                  0);
        plug.Automate(kBypass, 1.0);
        EXPECT_EQ(SubnormalOutputs<float>(plug, kSample32, std::numeric_limits<float>::min() / 3, 4, hostMode), 0);

        Instance plug64;
        ASSERT_EQ(plug64.Setup(44100, 512, kSample64), kResultOk);
        EXPECT_EQ(
            SubnormalOutputs<double>(plug64, kSample64, std::numeric_limits<double>::min() / 5, 200, hostMode), 0);
    }
}
