// ns per stereo frame of process() through the VST3 interfaces of the built bundle, with both
// LFOs active and in the one-second-silence fall-back, each next to a plain copy of the same
// buffers measured in the same run.
#include "bundle_module.h"
#include "host_application.h"
#include "parameter_changes.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kBlock = 512;
constexpr double kRate = 44100.0;

vibrascend::host::BundleModule& Module()
{
    static vibrascend::host::BundleModule module(VIBRASCEND_BENCH_BUNDLE);
    return module;
}

struct Plugin {
    vibrascend::host::HostApplication host{"vibrascend-bench"};
    IPtr<IComponent> component;
    IPtr<IAudioProcessor> processor;

    explicit Plugin(int32 sampleSize)
    {
        PClassInfo info{};
        Module().factory().getClassInfo(0, &info);
        void* obj = nullptr;
        Module().factory().createInstance(info.cid, IComponent::iid, &obj);
        component = owned(static_cast<IComponent*>(obj));
        component->initialize(&host);
        processor = FUnknownPtr<IAudioProcessor>(component);
        ProcessSetup setup{kRealtime, sampleSize, kBlock, kRate};
        processor->setupProcessing(setup);
        component->setActive(true);
        processor->setProcessing(true);

        // LFO 1 on "Out Gain" with "Golden Sine", LFO 2 on "Low Gain" with "Triangle".
        vibrascend::host::ParameterChanges changes;
        changes.add(5, 1.0 / 3.0);
        changes.add(6, 1.0 / 8.0);
        changes.add(9, 2.0 / 3.0);
        changes.add(10, 2.0 / 8.0);
        ProcessData data{};
        data.symbolicSampleSize = sampleSize;
        data.inputParameterChanges = &changes;
        processor->process(data);
    }
    ~Plugin()
    {
        processor->setProcessing(false);
        component->setActive(false);
        component->terminate();
    }
};

template <typename Sample>
struct Buffers {
    std::vector<Sample> inL, inR, outL, outR;
    Sample* in[2];
    Sample* out[2];
    AudioBusBuffers inBus{}, outBus{};
    ProcessData data{};

    Buffers(bool silent, int32 sampleSize)
        : inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock), in{inL.data(), inR.data()}, out{outL.data(), outR.data()}
    {
        for (int i = 0; i < kBlock; ++i) {
            inL[static_cast<size_t>(i)] = silent ? Sample(0) : Sample(0.3 * std::sin(i * 0.031));
            inR[static_cast<size_t>(i)] = silent ? Sample(0) : Sample(0.3 * std::sin(i * 0.047));
        }
        inBus.numChannels = outBus.numChannels = 2;
        if constexpr (sizeof(Sample) == 4) {
            inBus.channelBuffers32 = in;
            outBus.channelBuffers32 = out;
        } else {
            inBus.channelBuffers64 = reinterpret_cast<Sample64**>(in);
            outBus.channelBuffers64 = reinterpret_cast<Sample64**>(out);
        }
        data.symbolicSampleSize = sampleSize;
        data.numSamples = kBlock;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
    }
};

std::map<std::string, double>& Results()
{
    static std::map<std::string, double> results;
    return results;
}

template <typename Sample>
void Process(benchmark::State& state, bool silent)
{
    const int32 size = sizeof(Sample) == 4 ? kSample32 : kSample64;
    Plugin plugin(size);
    Buffers<Sample> buffers(silent, size);
    // More than a second of silence puts the effect into its copying fall-back.
    if (silent)
        for (int i = 0; i < 2 * static_cast<int>(kRate) / kBlock; ++i)
            plugin.processor->process(buffers.data);
    for (auto _ : state) {
        plugin.processor->process(buffers.data);
        benchmark::DoNotOptimize(buffers.outL.data());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kBlock, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

template <typename Sample>
void Copy(benchmark::State& state)
{
    Buffers<Sample> buffers(false, sizeof(Sample) == 4 ? kSample32 : kSample64);
    for (auto _ : state) {
        std::memcpy(buffers.outL.data(), buffers.inL.data(), sizeof(Sample) * kBlock);
        std::memcpy(buffers.outR.data(), buffers.inR.data(), sizeof(Sample) * kBlock);
        benchmark::DoNotOptimize(buffers.outL.data());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kBlock, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Process32_BothLfos(benchmark::State& s) { Process<float>(s, false); }
void BM_Process64_BothLfos(benchmark::State& s) { Process<double>(s, false); }
void BM_Process32_Silence(benchmark::State& s) { Process<float>(s, true); }
void BM_Process64_Silence(benchmark::State& s) { Process<double>(s, true); }
void BM_Copy32(benchmark::State& s) { Copy<float>(s); }
void BM_Copy64(benchmark::State& s) { Copy<double>(s); }

BENCHMARK(BM_Process32_BothLfos);
BENCHMARK(BM_Process64_BothLfos);
BENCHMARK(BM_Process32_Silence);
BENCHMARK(BM_Process64_Silence);
BENCHMARK(BM_Copy32);
BENCHMARK(BM_Copy64);

// Collects each run's ns per frame for the summary table.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            auto it = run.counters.find("ns_per_frame");
            if (it != run.counters.end())
                Results()[run.benchmark_name()] = it->second.value * 1e9;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& r = Results();
    std::printf("\n%-24s %14s %14s\n", "process (stereo frame)", "ns per frame", "x plain copy");
    for (const char* precision : {"32", "64"}) {
        const double copy = r[std::string("BM_Copy") + precision];
        for (const char* mode : {"_BothLfos", "_Silence"}) {
            const std::string name = std::string("BM_Process") + precision + mode;
            if (r.count(name) && copy > 0)
                std::printf("%-24s %14.2f %14.2f\n", (precision + std::string("-bit") + mode).c_str(), r[name], r[name] / copy);
        }
        std::printf("%-24s %14.2f %14.2f\n", (precision + std::string("-bit copy")).c_str(), copy, 1.0);
    }
    return 0;
}
