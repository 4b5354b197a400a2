// Drives a processing effect the way a careless host might: a run of process calls of any length
// (none, shorter or longer than the block set up, 32- or 64-bit, busses missing or short of
// channels), each with parameter queues read from the input as they stand: any id (the
// parameters, bypass, the program list, unknown ones), points at any offset and in any order,
// values out of range or not numbers, points the queue refuses to give. Every call must answer
// success, write nothing past its frames, give finite output for finite input, and leave usable
// parameter values the effect has applied.
#include "FuzzEffect.h"
#include "FuzzRequire.h"

#include "framework/vst3/IFxVST3.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kMaxCalls = 24;
constexpr int kMaxQueues = 20;
constexpr int kMaxPoints = 12;
// Frames after each call's own that must stay as they were.
constexpr int kGuardFrames = 8;
constexpr float kGuard = 12345.0f;

// A queue that answers exactly the points it was given, in their order; a point marked
// unreadable answers failure.
class RawQueue final : public IParamValueQueue {
public:
    struct Point {
        int32 offset;
        ParamValue value;
        bool readable;
    };

    ParamID id = 0;
    std::vector<Point> points;

    ParamID PLUGIN_API getParameterId() override { return id; }
    int32 PLUGIN_API getPointCount() override { return static_cast<int32>(points.size()); }
    tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) override
    {
        if (index < 0 || index >= getPointCount() || !points[static_cast<size_t>(index)].readable)
            return kResultFalse;
        sampleOffset = points[static_cast<size_t>(index)].offset;
        value = points[static_cast<size_t>(index)].value;
        return kResultOk;
    }
    tresult PLUGIN_API addPoint(int32, ParamValue, int32&) override { return kResultFalse; }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

// The queues of one call; a missing queue (a null answer) is one the input asked for.
class RawChanges final : public IParameterChanges {
public:
    std::vector<RawQueue> queues;
    std::vector<bool> missing;

    int32 PLUGIN_API getParameterCount() override { return static_cast<int32>(queues.size()); }
    IParamValueQueue* PLUGIN_API getParameterData(int32 index) override
    {
        if (index < 0 || index >= getParameterCount() || missing[static_cast<size_t>(index)])
            return nullptr;
        return &queues[static_cast<size_t>(index)];
    }
    IParamValueQueue* PLUGIN_API addParameterData(const ParamID&, int32&) override { return nullptr; }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

ParamID IdOf(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0: return kBypassId;
    case 1: return kPresetListId;
    case 2: return in.ConsumeIntegral<ParamID>();
    default: return static_cast<ParamID>(in.ConsumeIntegralInRange(0, FuzzEffect::kNumParams - 1));
    }
}

ParamValue ValueOf(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return in.ConsumeBool() ? std::numeric_limits<double>::infinity() : -1e300;
    case 2: return in.ConsumeFloatingPointInRange(-2.0, 3.0);
    default: return in.ConsumeProbability<double>();
    }
}

int32 OffsetOf(FuzzedDataProvider& in, int frames)
{
    switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0: return in.ConsumeIntegral<int32>();
    case 1: return frames > 0 ? frames - 1 : 0;
    default: return in.ConsumeIntegralInRange<int32>(0, frames > 0 ? frames - 1 : 0);
    }
}

void FillChanges(FuzzedDataProvider& in, int frames, RawChanges& changes)
{
    const int queues = in.ConsumeIntegralInRange(0, kMaxQueues);
    for (int q = 0; q < queues; ++q) {
        RawQueue queue;
        queue.id = IdOf(in);
        const int points = in.ConsumeIntegralInRange(0, kMaxPoints);
        for (int p = 0; p < points; ++p) {
            const int32 offset = OffsetOf(in, frames);
            const ParamValue value = ValueOf(in);
            queue.points.push_back({offset, value, in.ConsumeIntegralInRange(0, 15) != 0});
        }
        changes.queues.push_back(queue);
        changes.missing.push_back(in.ConsumeIntegralInRange(0, 15) == 0);
    }
}

// Channel buffers of one call, each `frames` long with a guard after it; the input a tone of
// the given amplitude (0 for silence).
template <class Sample>
struct CallBuffers {
    std::array<std::vector<Sample>, 2> in;
    std::array<std::vector<Sample>, 2> out;
    std::array<Sample*, 2> inPtrs{};
    std::array<Sample*, 2> outPtrs{};

    CallBuffers(int frames, double amplitude, bool inPlace)
    {
        for (size_t c = 0; c < 2; ++c) {
            in[c].assign(static_cast<size_t>(frames + kGuardFrames), static_cast<Sample>(kGuard));
            out[c].assign(static_cast<size_t>(frames + kGuardFrames), static_cast<Sample>(kGuard));
            for (int i = 0; i < frames; ++i)
                in[c][static_cast<size_t>(i)] = static_cast<Sample>(amplitude * std::sin(0.05 * (i + 1) * (c + 1)));
            inPtrs[c] = in[c].data();
            outPtrs[c] = inPlace ? in[c].data() : out[c].data();
        }
    }

    // Output finite where it was written, and nothing written past the call's frames.
    bool Sound(int frames, bool inPlace) const
    {
        for (size_t c = 0; c < 2; ++c) {
            const std::vector<Sample>& written = inPlace ? in[c] : out[c];
            for (int i = 0; i < frames; ++i)
                if (!std::isfinite(written[static_cast<size_t>(i)]))
                    return false;
            for (int i = frames; i < frames + kGuardFrames; ++i)
                if (written[static_cast<size_t>(i)] != static_cast<Sample>(kGuard))
                    return false;
        }
        return true;
    }
};

template <class Sample>
void ProcessCall(FuzzEffect& effect, FuzzedDataProvider& in)
{
    const int frames = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 3 * FuzzEffect::kBlockFrames)
                                        : in.ConsumeIntegralInRange(0, 4096);
    const double amplitude = in.ConsumeBool() ? 0.0 : in.ConsumeProbability<double>();
    const bool inPlace = in.ConsumeIntegralInRange(0, 3) == 0;
    const int inChannels = in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegralInRange(0, 1) : 2;
    const int outChannels = in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegralInRange(0, 1) : 2;
    const bool withChanges = in.ConsumeIntegralInRange(0, 7) != 0;

    CallBuffers<Sample> buffers(frames, amplitude, inPlace);
    RawChanges changes;
    FillChanges(in, frames, changes);

    AudioBusBuffers inBus{};
    inBus.numChannels = inChannels;
    AudioBusBuffers outBus{};
    outBus.numChannels = outChannels;
    if constexpr (sizeof(Sample) == 4) {
        inBus.channelBuffers32 = buffers.inPtrs.data();
        outBus.channelBuffers32 = buffers.outPtrs.data();
    } else {
        inBus.channelBuffers64 = buffers.inPtrs.data();
        outBus.channelBuffers64 = buffers.outPtrs.data();
    }
    ProcessData data{};
    data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.inputParameterChanges = withChanges ? &changes : nullptr;

    Require(effect.process(data) == kResultOk, "process answers success");
    // An output bus short of channels is written as far as it goes: only full stereo is checked.
    if (outChannels == 2)
        Require(buffers.Sound(frames, inPlace), "the output is finite and stays inside the call's frames");
    Require(effect.ValuesUsable(), "automation leaves usable values");
    Require(effect.EffectMatchesParams(), "the effect applies what the parameters hold");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzEffectPtr effect(new FuzzEffect);
    FuzzedDataProvider in(data, size);
    for (int call = 0; call < kMaxCalls && in.remaining_bytes() > 0; ++call) {
        if (in.ConsumeBool())
            ProcessCall<float>(*effect, in);
        else
            ProcessCall<double>(*effect, in);
    }
    Require(effect->ProcessBlockOfTone(), "a plain block after the automation is finite");
    return 0;
}
