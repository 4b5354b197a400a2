// ns per stereo frame of process() through the VST3 interfaces of the built bundle: both LFOs on
// sine-type waves, no LFO, the one-second-silence fall-back, both LFOs in 16-frame calls, and
// both LFOs with three parameters automated by one ramp each in every block;
// each next to the floor kernels measured in the same run: a plain copy of the same buffers, the
// filter-and-gains loop alone (also in 16-frame runs, to show what of the per-call overhead is its
// own restart), the two LFO gain passes alone, and the moving runs of an automated block (the
// filter with weights from gliding settings) without the parameter handling. Every iteration
// covers 512 frames; the table gives medians of CPU time when repetitions are asked for.
#include "BundleModule.h"
#include "HostApplication.h"
#include "ParameterChanges.h"

#include "effect/BandGains.h"
#include "effect/BandMotion.h"
#include "effect/BandSplitBlock.h"
#include "effect/Lfo.h"
#include "effect/LfoSweep.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kFrames = 512;
constexpr double kRate = 44100.0;

vibrascend::host::BundleModule& Module()
{
    static vibrascend::host::BundleModule module(VIBRASCEND_BENCH_BUNDLE);
    return module;
}

enum class Lfos {
    Both,
    None
};

struct Plugin {
    vibrascend::host::HostApplication host{"vibrascend-bench"};
    IPtr<IComponent> component;
    IPtr<IAudioProcessor> processor;

    Plugin(int32 sampleSize, Lfos lfos)
    {
        PClassInfo info{};
        Module().Factory().getClassInfo(0, &info);
        void* obj = nullptr;
        Module().Factory().createInstance(info.cid, IComponent::iid, &obj);
        component = owned(static_cast<IComponent*>(obj));
        component->initialize(&host);
        processor = FUnknownPtr<IAudioProcessor>(component);
        ProcessSetup setup{kRealtime, sampleSize, kFrames, kRate};
        processor->setupProcessing(setup);
        component->setActive(true);
        processor->setProcessing(true);

        // Both: LFO 1 on "Out Gain" with "Sine", LFO 2 on "Low Gain" with "Golden Sine".
        vibrascend::host::ParameterChanges changes;
        changes.Add(5, lfos == Lfos::Both ? 1.0 / 3.0 : 0.0);
        changes.Add(6, 0.0);
        changes.Add(9, lfos == Lfos::Both ? 2.0 / 3.0 : 0.0);
        changes.Add(10, 1.0 / 8.0);
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

    explicit Buffers(bool silent)
        : inL(kFrames), inR(kFrames), outL(kFrames),
          outR(kFrames), in{inL.data(), inR.data()}, out{outL.data(), outR.data()}
    {
        for (int i = 0; i < kFrames; ++i) {
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
        data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
        data.numSamples = kFrames;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
    }

    // Points the busses `offset` frames into the buffers for a call of `frames` frames.
    void Window(int offset, int frames)
    {
        in[0] = inL.data() + offset;
        in[1] = inR.data() + offset;
        out[0] = outL.data() + offset;
        out[1] = outR.data() + offset;
        data.numSamples = frames;
    }
};

// Three ramps per 512-frame block, as host automation sends them: "Out Gain", "Split Freq" and
// "LFO1 Depth" each move to a new value at the block's last frame, back and forth.
void AutomateBlock(vibrascend::host::ParameterChanges& changes, int block)
{
    changes.Clear();
    const bool up = block % 2 == 0;
    changes.Add(4, up ? 0.85 : 0.8, kFrames - 1);
    changes.Add(0, up ? 0.25 : 0.2, kFrames - 1);
    changes.Add(8, up ? 0.5 : 0.3, kFrames - 1);
}

// Dense automation, as a host sends a drawn curve: the nine continuous parameters each with a
// point every kDenseSpacing frames, rising through the block and falling through the next.
constexpr int kDenseSpacing = 4;

void AutomateDensely(vibrascend::host::ParameterChanges& changes, int block)
{
    changes.Clear();
    const bool up = block % 2 == 0;
    for (ParamID id : {0u, 1u, 2u, 3u, 4u, 7u, 8u, 11u, 12u})
        for (int at = kDenseSpacing - 1; at < kFrames; at += kDenseSpacing) {
            const double along = static_cast<double>(at) / kFrames;
            changes.Add(id, 0.3 + 0.2 * (up ? along : 1.0 - along), at);
        }
}

enum class Automation {
    None,
    Ramps,
    Dense
};

template <typename Sample>
void Process(benchmark::State& state, Lfos lfos, bool silent, int callFrames, Automation automation = Automation::None)
{
    Plugin plugin(sizeof(Sample) == 4 ? kSample32 : kSample64, lfos);
    Buffers<Sample> buffers(silent);
    // The automation of even and odd blocks, built before the timing as a host keeps its queues.
    std::array<vibrascend::host::ParameterChanges, 2> changes;
    for (int b = 0; b < 2; ++b) {
        if (automation == Automation::Dense)
            AutomateDensely(changes[static_cast<size_t>(b)], b);
        else
            AutomateBlock(changes[static_cast<size_t>(b)], b);
    }
    const bool automated = automation != Automation::None;
    int block = 0;
    // More than a second of silence puts the effect into its copying fall-back.
    if (silent)
        for (int i = 0; i < 2 * static_cast<int>(kRate) / kFrames; ++i)
            plugin.processor->process(buffers.data);
    for (auto _ : state) {
        if (automated)
            buffers.data.inputParameterChanges = &changes[static_cast<size_t>(block++ % 2)];
        for (int offset = 0; offset < kFrames; offset += callFrames) {
            buffers.Window(offset, callFrames);
            plugin.processor->process(buffers.data);
        }
        benchmark::DoNotOptimize(buffers.outL.data());
        benchmark::ClobberMemory();
    }
}

template <typename Sample>
void Copy(benchmark::State& state)
{
    Buffers<Sample> buffers(false);
    for (auto _ : state) {
        std::memcpy(buffers.outL.data(), buffers.inL.data(), sizeof(Sample) * kFrames);
        std::memcpy(buffers.outR.data(), buffers.inR.data(), sizeof(Sample) * kFrames);
        benchmark::DoNotOptimize(buffers.outL.data());
        benchmark::ClobberMemory();
    }
}

// Band weights read from a table, two frames at a time.
struct TableWeights {
    const double* low;
    const double* high;
    void Pair(Lanes2& lowMul, Lanes2& highMul)
    {
        std::memcpy(&lowMul, low, sizeof lowMul);
        std::memcpy(&highMul, high, sizeof highMul);
        low += 2;
        high += 2;
    }
};

// The filter-and-gains loop of the effect on the same buffers, with per-frame band weights from a
// table (swept) or fixed ones.
template <typename Sample, bool kSwept>
void FilterAndGains(benchmark::State& state, int callFrames)
{
    Buffers<Sample> buffers(false);
    BandSplitFilter filter;
    filter.SetSplitHz(1000);
    filter.SetDampingPercent(50);
    filter.Recompute(kRate);
    FilterMemory left, right;
    std::vector<double> low(kFrames), high(kFrames), lows(2 * kFrames);
    for (int i = 0; i < kFrames; ++i) {
        low[static_cast<size_t>(i)] = 1.0 + 0.001 * i;
        high[static_cast<size_t>(i)] = 0.9 - 0.001 * i;
    }
    const band_split_block::StereoRun run{filter.A0(), filter.B1(), filter.B2(), &left, &right, lows.data()};
    for (auto _ : state) {
        for (int at = 0; at < kFrames; at += callFrames) {
            const Sample* inL = buffers.inL.data() + at;
            const Sample* inR = buffers.inR.data() + at;
            Sample* outL = buffers.outL.data() + at;
            Sample* outR = buffers.outR.data() + at;
            if constexpr (kSwept) {
                TableWeights weights{low.data() + at, high.data() + at};
                band_split_block::FilterStereo(run, inL, inR, outL, outR, callFrames, weights);
            } else {
                band_split_block::FixedWeights weights(0.8, 1.1);
                band_split_block::FilterStereo(run, inL, inR, outL, outR, callFrames, weights);
            }
        }
        benchmark::DoNotOptimize(buffers.outL.data());
        benchmark::ClobberMemory();
    }
}

// The moving runs of an automated block without the parameter handling: both LFOs sweeping as in
// LfoPasses, and per run of BandMotion::kRunFrames frames the output gain and LFO 1's depth each
// starting a glide over the run, as a host's ramps on them leave them; the filter and its weights
// computed together, as the effect runs them.
template <typename Sample>
void MovingRuns(benchmark::State& state)
{
    Buffers<Sample> buffers(false);
    std::array<Lfo, 2> lfos;
    for (int k = 0; k < 2; ++k) {
        lfos[static_cast<size_t>(k)].SetTarget(static_cast<int16_t>(k + 1));
        lfos[static_cast<size_t>(k)].SetActive(true);
        lfos[static_cast<size_t>(k)].SetWave(static_cast<int16_t>(k));
        lfos[static_cast<size_t>(k)].SetFrequency(4.0f, kRate);
        lfos[static_cast<size_t>(k)].SetDepthPercent(30);
        lfos[static_cast<size_t>(k)].UpdateRange(1.0f);
    }
    BandGains gains;
    gains.SetOut(1.0);
    gains.SetLow(1.0);
    gains.SetHigh(1.0);
    BandMotion motion;
    for (Glide& g : motion.gains)
        g.Jump(1.0);
    motion.depths[0].Jump(0.3);
    motion.depths[1].Jump(0.3);
    BandSplitFilter filter;
    filter.SetSplitHz(1000);
    filter.SetDampingPercent(50);
    filter.Recompute(kRate);
    FilterMemory left, right;
    alignas(16) double lows[2 * BandMotion::kRunFrames];
    const band_split_block::StereoRun run{filter.A0(), filter.B1(), filter.B2(), &left, &right, lows};
    const VectorRegisters registers = WidestVectorRegisters();
    LfoSweep sweep(lfos[0], lfos[1], gains, registers);
    int runs = 0;
    for (auto _ : state) {
        for (int at = 0; at < kFrames; at += BandMotion::kRunFrames) {
            const bool up = ++runs % 2 == 0;
            motion.gains[0].To(up ? 1.1 : 0.9, BandMotion::kRunFrames);
            motion.depths[0].To(up ? 0.5 : 0.3, BandMotion::kRunFrames);
            motion.FilterRun(lfos, sweep, gains, registers, run, buffers.inL.data() + at, buffers.inR.data() + at,
                             buffers.outL.data() + at, buffers.outR.data() + at, BandMotion::kRunFrames);
        }
        benchmark::DoNotOptimize(buffers.outL.data());
        benchmark::ClobberMemory();
    }
}

// The two LFO gain passes of a block (sine-type waves, as in the process benchmarks) giving the
// band weights, without the filter.
void LfoPasses(benchmark::State& state)
{
    Lfo lfos[2];
    for (int k = 0; k < 2; ++k) {
        lfos[k].SetTarget(static_cast<int16_t>(k + 1));
        lfos[k].SetActive(true);
        lfos[k].SetWave(static_cast<int16_t>(k));
        lfos[k].SetFrequency(4.0f, kRate);
        lfos[k].SetDepthPercent(30);
        lfos[k].UpdateRange(1.0f);
    }
    BandGains gains;
    gains.SetOut(1.0);
    gains.SetLow(1.0);
    gains.SetHigh(1.0);
    std::vector<double> weights(2 * kFrames);
    const VectorRegisters registers = WidestVectorRegisters();
    for (auto _ : state) {
        for (int run = 0; run < kFrames; run += LfoSweep::kMaxFrames) {
            // A new sweep for each run: every run pays for a pass of its own.
            LfoSweep sweep(lfos[0], lfos[1], gains, registers);
            sweep.Begin(LfoSweep::kMaxFrames);
            for (int i = 0; i < LfoSweep::kMaxFrames; i += 2) {
                Lanes2 low, high;
                sweep.Pair(low, high);
                std::memcpy(weights.data() + run + i, &low, sizeof low);
                std::memcpy(weights.data() + kFrames + run + i, &high, sizeof high);
            }
            sweep.End();
        }
        benchmark::DoNotOptimize(weights.data());
        benchmark::ClobberMemory();
    }
}

void BmProcess32BothLfos(benchmark::State& s) { Process<float>(s, Lfos::Both, false, kFrames); }
void BmProcess64BothLfos(benchmark::State& s) { Process<double>(s, Lfos::Both, false, kFrames); }
void BmProcess32NoLfo(benchmark::State& s) { Process<float>(s, Lfos::None, false, kFrames); }
void BmProcess64NoLfo(benchmark::State& s) { Process<double>(s, Lfos::None, false, kFrames); }
void BmProcess32Silence(benchmark::State& s) { Process<float>(s, Lfos::Both, true, kFrames); }
void BmProcess64Silence(benchmark::State& s) { Process<double>(s, Lfos::Both, true, kFrames); }
void BmProcess32BothLfos16(benchmark::State& s) { Process<float>(s, Lfos::Both, false, 16); }
void BmProcess64BothLfos16(benchmark::State& s) { Process<double>(s, Lfos::Both, false, 16); }
void BmProcess32Automated(benchmark::State& s) { Process<float>(s, Lfos::Both, false, kFrames, Automation::Ramps); }
void BmProcess64Automated(benchmark::State& s) { Process<double>(s, Lfos::Both, false, kFrames, Automation::Ramps); }
void BmProcess32DenseAutomation(benchmark::State& s)
{
    Process<float>(s, Lfos::Both, false, kFrames, Automation::Dense);
}
void BmCopy32(benchmark::State& s) { Copy<float>(s); }
void BmCopy64(benchmark::State& s) { Copy<double>(s); }
void BmFilterSwept32(benchmark::State& s) { FilterAndGains<float, true>(s, kFrames); }
void BmFilterSwept64(benchmark::State& s) { FilterAndGains<double, true>(s, kFrames); }
void BmFilterFixed32(benchmark::State& s) { FilterAndGains<float, false>(s, kFrames); }
void BmFilterFixed64(benchmark::State& s) { FilterAndGains<double, false>(s, kFrames); }
void BmLfoPasses(benchmark::State& s) { LfoPasses(s); }
void BmFilterSwept16(benchmark::State& s) { FilterAndGains<double, true>(s, 16); }
void BmMovingRuns32(benchmark::State& s) { MovingRuns<float>(s); }
void BmMovingRuns64(benchmark::State& s) { MovingRuns<double>(s); }

BENCHMARK(BmProcess32BothLfos);
BENCHMARK(BmProcess64BothLfos);
BENCHMARK(BmProcess32NoLfo);
BENCHMARK(BmProcess64NoLfo);
BENCHMARK(BmProcess32Silence);
BENCHMARK(BmProcess64Silence);
BENCHMARK(BmProcess32BothLfos16);
BENCHMARK(BmProcess64BothLfos16);
BENCHMARK(BmProcess32Automated);
BENCHMARK(BmProcess64Automated);
BENCHMARK(BmProcess32DenseAutomation);
BENCHMARK(BmCopy32);
BENCHMARK(BmCopy64);
BENCHMARK(BmFilterSwept32);
BENCHMARK(BmFilterSwept64);
BENCHMARK(BmFilterFixed32);
BENCHMARK(BmFilterFixed64);
BENCHMARK(BmLfoPasses);
BENCHMARK(BmFilterSwept16);
BENCHMARK(BmMovingRuns32);
BENCHMARK(BmMovingRuns64);

// Keeps each benchmark's CPU time per iteration (the single run, or the median of repetitions):
// on a shared machine CPU time is steadier than wall time.
class CpuTableReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ns;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                ns[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CpuTableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto perFrame = [&reporter](const std::string& name) {
        auto it = reporter.ns.find(name);
        return it == reporter.ns.end() ? 0.0 : it->second / kFrames;
    };
    const auto row = [](const char* what, double ns, double floor, const char* floorName) {
        if (ns > 0 && floor > 0)
            std::printf("%-26s %10.3f %10.2f  x %s\n", what, ns, ns / floor, floorName);
    };
    std::printf("\n%-26s %10s %10s\n", "ns per stereo frame", "ns", "ratio");
    const double lfoPasses = perFrame("BmLfoPasses");
    for (const std::string p : {"32", "64"}) {
        const double copy = perFrame("BmCopy" + p);
        const double swept = perFrame("BmFilterSwept" + p);
        const double fixed = perFrame("BmFilterFixed" + p);
        const double both = perFrame("BmProcess" + p + "BothLfos");
        const double both16 = perFrame("BmProcess" + p + "BothLfos16");
        row((p + "-bit both LFOs").c_str(), both, swept + lfoPasses, "filter+gains + LFO passes");
        row((p + "-bit no LFO").c_str(), perFrame("BmProcess" + p + "NoLfo"), fixed, "filter+gains (fixed)");
        row((p + "-bit silence").c_str(), perFrame("BmProcess" + p + "Silence"), copy, "plain copy");
        row((p + "-bit both LFOs, 16/call").c_str(), both16, both, "512-frame calls");
        row((p + "-bit 3 ramps per block").c_str(), perFrame("BmProcess" + p + "Automated"), both, "steady");
        row((p + "-bit dense automation").c_str(), perFrame("BmProcess" + p + "DenseAutomation"), both, "steady");
        if (both > 0 && both16 > 0)
            std::printf("%-26s %10.3f %9.1f%%  of the frame cost\n", (p + "-bit per-call overhead").c_str(),
                        (both16 - both) * 16.0, 100.0 * (both16 - both) / both);
        // What the filter loop alone loses in 16-frame runs (its chain of dependent operations
        // starts afresh each call); the rest of the overhead is the call's own.
        const double filter16 = perFrame("BmFilterSwept16");
        const double filter = perFrame("BmFilterSwept64");
        if (both > 0 && both16 > 0 && filter16 > 0 && filter > 0)
            std::printf("%-26s %10.3f %10s  of which the filter loop's own restart\n", "", (filter16 - filter) * 16.0,
                        "ns/call");
        row((p + "-bit plain copy").c_str(), copy, copy, "plain copy");
        row((p + "-bit filter+gains").c_str(), swept, swept, "itself");
        row((p + "-bit moving runs").c_str(), perFrame("BmMovingRuns" + p), swept + lfoPasses,
            "filter+gains + LFO passes");
    }
    row("two LFO gain passes", lfoPasses, lfoPasses, "itself");

    // The goals, each with its limit and where the figure stands against its floor kernel.
    std::printf("\n%-26s %10s %10s %10s\n", "goal", "figure", "limit", "x floor");
    const auto goal = [](const std::string& what, double figure, double limit, double floor) {
        if (figure > 0)
            std::printf("%-26s %10.3f %10.3f %10.2f  %s\n", what.c_str(), figure, limit,
                        floor > 0 ? figure / floor : 0.0, figure <= limit ? "met" : "NOT met");
    };
    for (const std::string p : {"32", "64"}) {
        const double copy = perFrame("BmCopy" + p);
        const double both = perFrame("BmProcess" + p + "BothLfos");
        const double both16 = perFrame("BmProcess" + p + "BothLfos16");
        goal(p + "-bit both LFOs, ns", both, 8.0, perFrame("BmFilterSwept" + p) + lfoPasses);
        goal(p + "-bit no LFO, ns", perFrame("BmProcess" + p + "NoLfo"), 4.0, perFrame("BmFilterFixed" + p));
        goal(p + "-bit silence, x copy", copy > 0 ? perFrame("BmProcess" + p + "Silence") / copy : 0.0, 2.0, 1.0);
        if (both > 0 && both16 > 0)
            goal(p + "-bit 16/call overhead, %", 100.0 * (both16 - both) / both, 15.0, 100.0);
        if (both > 0)
            goal(p + "-bit 3 ramps, x steady", perFrame("BmProcess" + p + "Automated") / both, 1.5, 1.0);
    }
    return 0;
}
