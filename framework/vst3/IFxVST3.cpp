#include "framework/vst3/IFxVST3.h"

#include "framework/DenormalsOffScope.h"
#include "framework/HostKind.h"
#include "framework/vst3/IFxVST3View.h"

#include "base/source/fstring.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

using Guard = std::lock_guard<platform::RecursiveLock>;

// Larger host blocks are processed in pieces of this many frames at most.
constexpr int kMaxBlockSize = 1 << 16;
// A component state larger than this is not ours: reading stops there.
constexpr int32 kMaxStateBytes = 1 << 24;
constexpr int kMaxBusChannels = 32;

int ChannelCount(SpeakerArrangement arrangement) { return std::popcount(static_cast<uint64>(arrangement)); }

void WidenLabel(const char* text, String128 out)
{
    UString128 wide("");
    wide.fromAscii(text ? text : "");
    wide.copyTo(out, 128);
}

}  // namespace

SpeakerArrangement ArrangementForChannels(int channels)
{
    switch (channels) {
    case 1: return 0x80000;
    case 2: return 3;
    case 3: return 0x103;
    case 4: return 0xF00000;
    case 5: return 0x37;
    case 6: return 0x3F;
    default: return 0;
    }
}

IFxVST3::IFxVST3(const IFxDeclaration& declaration) : IFxBase(declaration)
{
    ConnectInputs(0, NumInputs(), true);
    ConnectOutputs(0, NumOutputs(), true);
    SetInputLabel(0, "Main Input");
    SetOutputLabel(0, "Output");
}

IFxVST3::~IFxVST3() = default;

tresult PLUGIN_API IFxVST3::initialize(FUnknown* context)
{
    const tresult result = SingleComponentEffect::initialize(context);
    FUnknownPtr<IHostApplication> host(context);
    if (host) {
        String128 wide{};
        if (host->getName(wide) == kResultOk) {
            char name[129] = {};
            UString(wide, 128).toAscii(name, 129);
            IdentifyHost(name);
        }
    }
    if (result == kResultOk) {
        String128 label;
        if (const SpeakerArrangement arr = ArrangementForChannels(NumInputs())) {
            WidenLabel(InputLabel(0), label);
            addAudioInput(label, arr, kMain, BusInfo::kDefaultActive);
        }
        WidenLabel(OutputLabel(0), label);
        addAudioOutput(label, ArrangementForChannels(NumOutputs()), kMain, BusInfo::kDefaultActive);
        RegisterParameters();
    }
    return result;
}

tresult PLUGIN_API IFxVST3::terminate()
{
    views.clear();
    return SingleComponentEffect::terminate();
}

tresult PLUGIN_API IFxVST3::setActive(TBool state)
{
    SetProcessingStarted(false);
    OnActivate(state != 0);
    hostActive.store(state != 0);
    SetAudioLive(hostActive.load() && hostProcessing.load());
    return kResultOk;
}

tresult PLUGIN_API IFxVST3::getControllerClassId(TUID) { return kNotImplemented; }

tresult PLUGIN_API IFxVST3::setIoMode(IoMode) { return kNotImplemented; }

tresult PLUGIN_API IFxVST3::getRoutingInfo(RoutingInfo&, RoutingInfo&) { return kNotImplemented; }

tresult PLUGIN_API IFxVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                               int32 numOuts)
{
    // Everything is checked before anything changes: one input and one output bus, each in the
    // standard layout of its channel count, and the counts an allowed pair.
    if (!inputs || !outputs || numIns != getBusCount(kAudio, kInput) || numOuts != getBusCount(kAudio, kOutput) ||
        numIns != 1 || numOuts != 1)
        return kResultFalse;
    const int nIn = ChannelCount(inputs[0]);
    const int nOut = ChannelCount(outputs[0]);
    if (inputs[0] != ArrangementForChannels(nIn) || outputs[0] != ArrangementForChannels(nOut) ||
        !IsChannelPairAllowed(nIn, nOut))
        return kResultFalse;
    ConnectInputs(0, NumInputs(), false);
    ConnectOutputs(0, NumOutputs(), false);
    getAudioInput(0)->setArrangement(inputs[0]);
    getAudioOutput(0)->setArrangement(outputs[0]);
    return kResultOk;
}

tresult PLUGIN_API IFxVST3::canProcessSampleSize(int32 size)
{
    return size == kSample32 || size == kSample64 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API IFxVST3::getLatencySamples() { return static_cast<uint32>(std::max(Latency(), 0)); }

uint32 PLUGIN_API IFxVST3::getTailSamples() { return static_cast<uint32>(std::max(TailLength(), 0)); }

tresult PLUGIN_API IFxVST3::setProcessing(TBool state)
{
    // Only noted: whether process calls keep coming decides who applies the editor's changes.
    hostProcessing.store(state != 0);
    SetAudioLive(hostActive.load() && hostProcessing.load());
    return kNotImplemented;
}

tresult PLUGIN_API IFxVST3::setupProcessing(ProcessSetup& setup)
{
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
        return kResultFalse;
    if (!std::isfinite(setup.sampleRate) || setup.sampleRate <= 0.0)
        return kResultFalse;
    SetProcessingStarted(false);
    {
        Guard g(Lock());
        SetSampleRate(setup.sampleRate);
        ChangeBlockSize(std::clamp(setup.maxSamplesPerBlock, 1, kMaxBlockSize));
    }
    Reset();
    processSetup = setup;
    return kResultOk;
}

int IFxVST3::PresetIndexFromNormalized(double normalized) const
{
    const double clamped = std::clamp(normalized, 0.0, 1.0);
    return static_cast<int>((NumPresets() - 1) * clamped + 0.5);
}

double IFxVST3::NormalizedNow(ParamID id) const
{
    if (id == kBypassId)
        return Bypassed() ? 1.0 : 0.0;
    if (id == kPresetListId)
        return NumPresets() > 1 ? static_cast<double>(CurrentPreset()) / (NumPresets() - 1) : 0.0;
    if (id < static_cast<ParamID>(NumParams()))
        return GetParam(static_cast<int>(id))->Normalized();
    return 0.0;
}

ParamMotion IFxVST3::MotionOf(ParamID id) const
{
    if (id < static_cast<ParamID>(NumParams()))
        return GetParam(static_cast<int>(id))->Motion();
    return ParamMotion::Points;
}

void IFxVST3::ApplyHostChange(ParamID id, double normalized, int frames)
{
    if (id == kBypassId) {
        SetBypassed(normalized > 0.5);
    } else if (id == kPresetListId) {
        SelectProgramOnAudio(PresetIndexFromNormalized(normalized));
    } else if (id < static_cast<ParamID>(NumParams())) {
        TakeHostValue(static_cast<int>(id), normalized, frames);
        PublishHostChange(static_cast<int>(id), normalized);
    }
}

void IFxVST3::TakeHostValue(int index, double normalized, int frames)
{
    IParamDef* param = GetParam(index);
    param->SetFromNormalized(normalized);
    TakeEffectValue(index, param->Value(), frames);
}

void IFxVST3::ApplyChangesAtStart()
{
    for (int t = 0; t < automation.Count(); ++t) {
        double value = 0.0;
        if (automation.LastValue(t, value))
            ApplyHostChange(automation.Id(t), value, StepOrAtOnce());
    }
}

void IFxVST3::ApplyChangesOfRun(int offset, int frames)
{
    for (int t = 0; t < automation.Count(); ++t) {
        const ParamID id = automation.Id(t);
        double value = 0.0;
        switch (MotionOf(id)) {
        case ParamMotion::Points:
            if (automation.PointAt(t, offset, value))
                ApplyHostChange(id, value, StepOrAtOnce());
            break;
        case ParamMotion::Runs:
            // A point at the block's first frame is a step from the value before it.
            TakeHostValue(static_cast<int>(id), automation.ValueAt(t, offset),
                          offset == 0 && automation.PointAt(t, 0, value) ? StepOrAtOnce() : kChangeAtOnce);
            break;
        case ParamMotion::Frames:
            TakeHostValue(static_cast<int>(id), automation.ValueAt(t, offset + frames), frames);
            break;
        }
    }
}

void IFxVST3::PublishAutomatedValues(int total)
{
    // The editor shows where the lines end: the value held after each queue's last point.
    for (int t = 0; t < automation.Count(); ++t) {
        const ParamID id = automation.Id(t);
        if (MotionOf(id) != ParamMotion::Points)
            PublishHostChange(static_cast<int>(id), automation.ValueAt(t, total));
    }
}

namespace {

// The first `count` of a bus's channel buffers, `offset` frames in (null for a missing one), in
// `into`.
template <class Sample, size_t kChannels>
std::array<Sample*, kChannels>& ChannelsAt(Sample* const* buffers, int count, int offset,
                                           std::array<Sample*, kChannels>& into)
{
    for (int i = 0; i < count; ++i)
        into[static_cast<size_t>(i)] = buffers[i] ? buffers[i] + offset : nullptr;
    return into;
}

}  // namespace

void IFxVST3::ConnectAndBind(ProcessData& data, int offset, bool doublePrecision)
{
    if (data.numInputs > 0 && data.inputs && data.numOutputs > 0 && data.outputs && NumInputs() <= kMaxBusChannels &&
        NumOutputs() <= kMaxBusChannels) {
        const AudioBusBuffers& in = data.inputs[0];
        const AudioBusBuffers& out = data.outputs[0];
        const bool bound =
            doublePrecision
                ? BindAllChannels(in.channelBuffers64, in.numChannels, out.channelBuffers64, out.numChannels, offset)
                : BindAllChannels(in.channelBuffers32, in.numChannels, out.channelBuffers32, out.numChannels, offset);
        if (bound)
            return;
    }
    std::array<float*, kMaxBusChannels> hostFloat{};
    std::array<double*, kMaxBusChannels> hostDouble{};

    const bool hasInput = data.numInputs > 0 && data.inputs;
    if (hasInput) {
        const AudioBusBuffers& bus = data.inputs[0];
        const bool buffers = doublePrecision ? bus.channelBuffers64 != nullptr : bus.channelBuffers32 != nullptr;
        const int c =
            buffers ? std::clamp(static_cast<int>(bus.numChannels), 0, std::min(NumInputs(), kMaxBusChannels)) : 0;
        ConnectInputs(0, c, true);
        ConnectInputs(c, NumInputs() - c, false);
        if (doublePrecision)
            BindInputs(0, c, ChannelsAt(bus.channelBuffers64, c, offset, hostDouble).data());
        else
            BindInputs(0, c, ChannelsAt(bus.channelBuffers32, c, offset, hostFloat).data());
    } else {
        // No input bus this call: read silence rather than buffers of an earlier call.
        ConnectInputs(0, NumInputs(), false);
    }

    int k = 0;
    const int outBusses = data.outputs ? data.numOutputs : 0;
    if (outBusses <= 0)
        ConnectOutputs(0, NumOutputs(), false);
    for (int j = 0; j < outBusses && k < NumOutputs(); ++j) {
        const AudioBusBuffers& bus = data.outputs[j];
        const bool buffers = doublePrecision ? bus.channelBuffers64 != nullptr : bus.channelBuffers32 != nullptr;
        const int c =
            buffers ? std::clamp(static_cast<int>(bus.numChannels), 0, std::min(NumOutputs() - k, kMaxBusChannels)) : 0;
        // Hosts that never activate their busses still pass buffers: buffers make a channel live.
        ConnectOutputs(k, c, true);
        ConnectOutputs(k + c, NumOutputs() - k - c, false);
        if (doublePrecision)
            BindOutputs(k, c, ChannelsAt(bus.channelBuffers64, c, offset, hostDouble).data());
        else
            BindOutputs(k, c, ChannelsAt(bus.channelBuffers32, c, offset, hostFloat).data());
        k += c;
    }
}

void IFxVST3::ProcessSpan(ProcessData& data, int offset, int frames, bool withEffect)
{
    const bool doublePrecision = data.symbolicSampleSize == kSample64;
    ConnectAndBind(data, offset, doublePrecision);
    if (withEffect)
        ProcessWithBypass(frames, !doublePrecision);
    else
        CopyBypassed(frames, !doublePrecision);
}

void IFxVST3::SilenceOutputs(ProcessData& data)
{
    if (!data.outputs)
        return;
    for (int32 j = 0; j < data.numOutputs; ++j) {
        const AudioBusBuffers& bus = data.outputs[j];
        for (int32 c = 0; c < bus.numChannels; ++c) {
            if (data.symbolicSampleSize == kSample64 && bus.channelBuffers64 && bus.channelBuffers64[c])
                std::fill_n(bus.channelBuffers64[c], data.numSamples, 0.0);
            else if (data.symbolicSampleSize == kSample32 && bus.channelBuffers32 && bus.channelBuffers32[c])
                std::fill_n(bus.channelBuffers32[c], data.numSamples, 0.0f);
        }
    }
}

tresult PLUGIN_API IFxVST3::process(ProcessData& data)
{
    // No lock and no wait: the audio side holds the effect for the call. The claim only fails
    // when the host processes without having made processing live while the UI side is applying
    // a change; that call passes its input through untouched by the effect.
    const DenormalsOffScope denormalsOff;
    const bool holdsEffect = ClaimEffect(EffectHolder::AudioSide);
    if (!holdsEffect) {
        ProcessInBlocks(data, false);
        return kResultOk;
    }
    if (data.processContext)
        processContext = *data.processContext;
    // Changes handed over by the UI side come first, then the host's for this block: all at its
    // start when every queue has one point at offset 0, else each where it falls.
    ApplyPending(StepOrAtOnce());
    const int total = std::max(data.numSamples, 0);
    automation.Read(data.inputParameterChanges, total, [this](ParamID id) { return NormalizedNow(id); });
    if (total == 0 || automation.AllAtStart() || !Processable(data)) {
        ApplyChangesAtStart();
        ProcessInBlocks(data, true);
    } else {
        ProcessAutomated(data, total);
    }
    if (total > 0)
        SetProcessingStarted(true);
    ReleaseEffect();
    return kResultOk;
}

bool IFxVST3::Processable(const ProcessData& data) const
{
    return (data.symbolicSampleSize == kSample32 || data.symbolicSampleSize == kSample64) && BlockSize() > 0;
}

void IFxVST3::ProcessAutomated(ProcessData& data, int total)
{
    for (int offset = 0; offset < total;) {
        const int frames = std::min({BlockSize(), total - offset, kAutomationRunFrames,
                                     automation.NextPointAfter(offset) - offset});
        ApplyChangesOfRun(offset, frames);
        ProcessSpan(data, offset, frames, true);
        offset += frames;
    }
    PublishAutomatedValues(total);
}

void IFxVST3::ProcessInBlocks(ProcessData& data, bool withEffect)
{
    if (data.symbolicSampleSize != kSample32 && data.symbolicSampleSize != kSample64)
        return;
    if (BlockSize() <= 0) {
        // Processing was never set up: there are no buffers to work in.
        if (data.numSamples > 0)
            SilenceOutputs(data);
        return;
    }
    const int total = std::max(data.numSamples, 0);
    if (total == 0) {
        ProcessSpan(data, 0, 0, withEffect);
        return;
    }
    for (int offset = 0; offset < total; offset += BlockSize())
        ProcessSpan(data, offset, std::min(BlockSize(), total - offset), withEffect);
}

tresult IFxVST3::readComponentState(IBStream* stream)
{
    if (!stream)
        return kInvalidArgument;
    StateChunk chunk;
    uint8 piece[128];
    const bool keepReadingOnError = HostKind() == kHostWaveLab;
    while (chunk.Size() < kMaxStateBytes) {
        int32 got = 0;
        const tresult r = stream->read(piece, sizeof piece, &got);
        got = std::clamp<int32>(got, 0, sizeof piece);
        if (r != kResultOk && !keepReadingOnError)
            break;
        if (got == 0)
            break;
        if (!chunk.PutBytes(piece, got))
            break;
    }
    int32 position = -1;
    {
        // The values are stored together; the effect applies them on the audio side, or here
        // while that is not live. The bypass word is checked first: a state is taken whole or not
        // at all.
        Guard g(Lock());
        const int32 record = CheckParamRecord(chunk, 0);
        int bypass = -1;
        if (record < 0 || ReadBypassWord(chunk, record, bypass) < 0)
            return kResultFalse;
        position = LoadState(chunk, 0);
        if (position < 0)
            return kResultFalse;
        position = ReadBypassWord(chunk, position, bypass);
        if (bypass >= 0)
            SetBypassed(bypass != 0);
        RefreshEditorParams();
    }
    if (position < 0)
        return kResultFalse;
    stream->seek(position, IBStream::kIBSeekSet, nullptr);
    return kResultOk;
}

int32_t IFxVST3::ReadBypassWord(const StateChunk& chunk, int32_t position, int& bypass) const
{
    // An older state ends with the parameter record and leaves bypass as it is; a newer one adds
    // one 32-bit word, 1 when bypassed and 0 when not (bytes after it are left for later
    // versions). A cut word or another value is not a state of ours.
    if (position == chunk.Size())
        return position;
    int32_t word = -1;
    const int32_t end = chunk.GetInt32(word, position);
    if (end < 0 || (word != 0 && word != 1))
        return -1;
    bypass = word;
    return end;
}

tresult IFxVST3::writeComponentState(IBStream* stream)
{
    if (!stream)
        return kInvalidArgument;
    DeliverHostNotes();
    StateChunk chunk;
    {
        // A copy of the values as they stand together; the stream is written outside the lock.
        Guard g(Lock());
        if (!SaveState(chunk) || !chunk.PutInt32(Bypassed() ? 1 : 0))
            return kResultFalse;
    }
    int32 written = 0;
    if (stream->write(const_cast<uint8*>(chunk.Data()), chunk.Size(), &written) != kResultOk || written != chunk.Size())
        return kResultFalse;
    return kResultOk;
}

int IFxVST3::SamplePosition() const { return static_cast<int>(static_cast<uint32>(processContext.projectTimeSamples)); }

tresult PLUGIN_API IFxVST3::queryInterface(const TUID iid, void** obj)
{
    DEF_INTERFACE(IUnitInfo)
    return SingleComponentEffect::queryInterface(iid, obj);
}
