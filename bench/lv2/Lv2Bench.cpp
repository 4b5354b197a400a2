// ns per stereo frame of the LV2 plug-in's run() next to the VST3 plug-in's process() in the same
// program, 32-bit, at 512-frame blocks with both LFOs sweeping (LFO 1 on "Out Gain" with "Sine",
// LFO 2 on "Low Gain" with "Golden Sine", as in vibrascend_plugin_bench), and their ratio; the goal
// is the LV2 figure within 5 % of the VST3 one. Medians of CPU time over repetitions.
#include "BundleModule.h"
#include "HostApplication.h"
#include "ParameterChanges.h"

#include "effect/VibrascendParams.h"
#include "platform/SharedLibrary.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <benchmark/benchmark.h>
#include <lv2/core/lv2.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kFrames = 512;
constexpr double kRate = 44100.0;

// Both LFOs sweeping, the rest at the defaults: plain values by parameter id.
VibrascendValues BothLfos()
{
    VibrascendValues values = VibrascendDefaults();
    values[kLfo1Target] = 1.0;
    values[kLfo1Wave] = 0.0;
    values[kLfo2Target] = 2.0;
    values[kLfo2Wave] = 1.0;
    return values;
}

struct Signal {
    std::vector<float> inL, inR, outL, outR;
    Signal() : inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames)
    {
        for (int i = 0; i < kFrames; ++i) {
            inL[static_cast<size_t>(i)] = static_cast<float>(0.3 * std::sin(i * 0.031));
            inR[static_cast<size_t>(i)] = static_cast<float>(0.3 * std::sin(i * 0.047));
        }
    }
};

vibrascend::host::BundleModule& Vst3Module()
{
    static vibrascend::host::BundleModule module(VIBRASCEND_BENCH_BUNDLE);
    return module;
}

const LV2_Descriptor& Lv2Descriptor()
{
    static const LV2_Descriptor* descriptor = [] {
        std::string error;
        static auto library = platform::SharedLibrary::Open(VIBRASCEND_BENCH_LV2_BINARY, error);
        if (!library)
            throw std::runtime_error(error);
        const auto entry = reinterpret_cast<const LV2_Descriptor* (*)(uint32_t)>(library->Symbol("lv2_descriptor"));
        return entry ? entry(0) : nullptr;
    }();
    if (!descriptor)
        throw std::runtime_error("no LV2 descriptor");
    return *descriptor;
}

void Vst3Process(benchmark::State& state)
{
    vibrascend::host::HostApplication host{"vibrascend-bench"};
    PClassInfo info{};
    Vst3Module().Factory().getClassInfo(0, &info);
    void* obj = nullptr;
    Vst3Module().Factory().createInstance(info.cid, IComponent::iid, &obj);
    IPtr<IComponent> component = owned(static_cast<IComponent*>(obj));
    component->initialize(&host);
    FUnknownPtr<IAudioProcessor> processor(component);
    FUnknownPtr<IEditController> controller(component);
    ProcessSetup setup{kRealtime, kSample32, kFrames, kRate};
    processor->setupProcessing(setup);
    component->setActive(true);
    processor->setProcessing(true);

    Signal signal;
    float* in[] = {signal.inL.data(), signal.inR.data()};
    float* out[] = {signal.outL.data(), signal.outR.data()};
    AudioBusBuffers inBus{};
    AudioBusBuffers outBus{};
    inBus.numChannels = outBus.numChannels = 2;
    inBus.channelBuffers32 = in;
    outBus.channelBuffers32 = out;
    ProcessData data{};
    data.symbolicSampleSize = kSample32;
    data.numSamples = kFrames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    vibrascend::host::ParameterChanges changes;
    const VibrascendValues values = BothLfos();
    for (int p = 0; p < kNumVibrascendParams; ++p)
        changes.Add(static_cast<ParamID>(p), controller->plainParamToNormalized(p, values[static_cast<size_t>(p)]));
    data.inputParameterChanges = &changes;
    processor->process(data);
    data.inputParameterChanges = nullptr;
    for (auto _ : state) {
        processor->process(data);
        benchmark::DoNotOptimize(signal.outL.data());
    }
    processor->setProcessing(false);
    component->setActive(false);
    component->terminate();
}

void Lv2Run(benchmark::State& state)
{
    const LV2_Descriptor& d = Lv2Descriptor();
    const LV2_Feature* none[] = {nullptr};
    LV2_Handle h = d.instantiate(&d, kRate, "", none);
    if (!h) {
        state.SkipWithError("the LV2 plug-in did not instantiate");
        return;
    }
    Signal signal;
    const VibrascendValues values = BothLfos();
    std::array<float, kNumVibrascendParams + 1> controls{};
    for (int p = 0; p < kNumVibrascendParams; ++p)
        controls[static_cast<size_t>(p)] = static_cast<float>(values[static_cast<size_t>(p)]);
    controls[kNumVibrascendParams] = 1.0f;
    d.connect_port(h, 0, signal.inL.data());
    d.connect_port(h, 1, signal.inR.data());
    d.connect_port(h, 2, signal.outL.data());
    d.connect_port(h, 3, signal.outR.data());
    for (uint32_t p = 0; p < controls.size(); ++p)
        d.connect_port(h, 4 + p, &controls[p]);
    d.activate(h);
    d.run(h, kFrames);
    for (auto _ : state) {
        d.run(h, kFrames);
        benchmark::DoNotOptimize(signal.outL.data());
    }
    d.deactivate(h);
    d.cleanup(h);
}

// Keeps each benchmark's median CPU time per iteration.
class CpuTableReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ns;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                ns[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

// Medians of repetitions; --benchmark_enable_random_interleaving=true interleaves them, so that
// both see the same machine load.
BENCHMARK(Vst3Process)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(Lv2Run)->Repetitions(7)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CpuTableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double vst3 = reporter.ns["Vst3Process"] / kFrames;
    const double lv2 = reporter.ns["Lv2Run"] / kFrames;
    std::printf("\n%-34s %10s\n", "ns per stereo frame, 512/call", "ns");
    std::printf("%-34s %10.3f\n", "VST3 process(), both LFOs", vst3);
    std::printf("%-34s %10.3f\n", "LV2 run(), both LFOs", lv2);
    if (vst3 > 0 && lv2 > 0) {
        const double ratio = lv2 / vst3;
        std::printf("%-34s %10.3f  goal <= 1.050: %s\n", "LV2 / VST3", ratio, ratio <= 1.05 ? "met" : "NOT met");
    }
    return 0;
}
