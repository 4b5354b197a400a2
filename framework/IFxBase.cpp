#include "framework/IFxBase.h"

#include "framework/HostKind.h"
#include "framework/SubnormalFlush.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Guard = std::lock_guard<platform::RecursiveLock>;

// Reads "in-out" pairs separated by spaces; a number that does not scan counts 0.
void ParseChannelPairs(const char* config, OwnedPtrList<ChannelPair>& pairs)
{
    const char* p = config ? config : "";
    while (true) {
        int in = 0;
        int out = 0;
        if (std::sscanf(p, "%d-%d", &in, &out) < 2)
            out = 0;
        pairs.Append(new ChannelPair{in, out});
        p = std::strchr(p, ' ');
        if (!p)
            break;
        ++p;
    }
}

}  // namespace

IFxBase::IFxBase(const IFxDeclaration& d)
    : latency(d.latency), uniqueId(d.uniqueId), manufacturerId(d.manufacturerId), version(d.version)
{
    ParseChannelPairs(d.channelConfig, channelPairs);
    for (int i = 0; i < d.numParams; ++i)
        params.Append(new IParamDef);
    hostChanges = std::make_unique<HostChange[]>(static_cast<size_t>(std::max(params.Count(), 1)));
    effectValues = std::make_unique<double[]>(static_cast<size_t>(std::max(params.Count(), 1)));
    inForceCopy = std::make_unique<double[]>(static_cast<size_t>(std::max(params.Count(), 1)));
    for (int i = 0; i < d.numPresets; ++i) {
        auto* slot = new PresetSlot;
        std::snprintf(slot->name, sizeof slot->name, "- %d -", i + 1);
        presets.Append(slot);
    }
    CopyFixedText(effectName, kIdentitySize, d.effectName);
    CopyFixedText(productName, kIdentitySize, d.productName);
    CopyFixedText(manufacturerName, kIdentitySize, d.manufacturerName);

    int numIn = 0;
    int numOut = 0;
    for (int i = 0; i < channelPairs.Count(); ++i) {
        numIn = std::max(numIn, channelPairs.Get(i)->inputs);
        numOut = std::max(numOut, channelPairs.Get(i)->outputs);
    }
    inputPointers = std::make_unique<double*[]>(static_cast<size_t>(std::max(numIn, 1)));
    outputPointers = std::make_unique<double*[]>(static_cast<size_t>(std::max(numOut, 1)));
    inputPointers32 = std::make_unique<float*[]>(static_cast<size_t>(std::max(numIn, 1)));
    outputPointers32 = std::make_unique<float*[]>(static_cast<size_t>(std::max(numOut, 1)));
    for (int c = 0; c < numIn; ++c) {
        auto* binding = new InChannelBinding;
        binding->entry = &inputPointers[static_cast<size_t>(c)];
        binding->entry32 = &inputPointers32[static_cast<size_t>(c)];
        inBindings.Append(binding);
    }
    for (int c = 0; c < numOut; ++c) {
        auto* binding = new OutChannelBinding;
        binding->entry = &outputPointers[static_cast<size_t>(c)];
        binding->entry32 = &outputPointers32[static_cast<size_t>(c)];
        outBindings.Append(binding);
    }
}

IFxBase::~IFxBase() { editor.reset(); }

void IFxBase::Reset() {}

void IFxBase::ParamChanged(int) {}

void IFxBase::ProcessBlock(double** inputs, double** outputs, int frames) { PassThrough(inputs, outputs, frames); }

void IFxBase::ProcessBlockFloat(float** inputs, float** outputs, int frames)
{
    if (frames <= 0)
        return;
    // Connected inputs are widened into their scratch buffers for the double hook, and the
    // buffers are silenced again afterwards: unconnected channels read them as zeros.
    for (int c = 0; c < NumInputs(); ++c) {
        InChannelBinding* b = inBindings.Get(c);
        auto* scratch = static_cast<double*>(b->scratch.Data());
        if (b->connected && scratch && inputs[c])
            std::copy_n(inputs[c], frames, scratch);
        inputPointers[static_cast<size_t>(c)] = scratch;
    }
    for (int c = 0; c < NumOutputs(); ++c)
        outputPointers[static_cast<size_t>(c)] = static_cast<double*>(outBindings.Get(c)->scratch.Data());
    ProcessBlock(inputPointers.get(), outputPointers.get(), frames);
    for (int c = 0; c < NumOutputs(); ++c) {
        OutChannelBinding* b = outBindings.Get(c);
        const double* scratch = outputPointers[static_cast<size_t>(c)];
        if (b->connected && scratch && outputs[c])
            for (int i = 0; i < frames; ++i)
                outputs[c][i] = static_cast<float>(scratch[i]);
    }
    for (int c = 0; c < NumInputs(); ++c) {
        InChannelBinding* b = inBindings.Get(c);
        if (b->connected && b->scratch.Data())
            std::fill_n(static_cast<double*>(b->scratch.Data()), frames, 0.0);
    }
}

namespace {

template <class T>
void CopyOrSilence(T** inputs, T** outputs, int numInputs, int numOutputs, int frames)
{
    if (frames <= 0)
        return;
    const int shared = std::min(numInputs, numOutputs);
    for (int c = 0; c < numOutputs; ++c) {
        if (!outputs[c])
            continue;
        if (c < shared && inputs[c])
            subnormal_flush::CopyFlushed(inputs[c], outputs[c], frames);
        else
            std::fill_n(outputs[c], frames, T(0));
    }
}

}  // namespace

void IFxBase::PassThrough(double** inputs, double** outputs, int frames)
{
    CopyOrSilence(inputs, outputs, NumInputs(), NumOutputs(), frames);
}

void IFxBase::PassThrough(float** inputs, float** outputs, int frames)
{
    CopyOrSilence(inputs, outputs, NumInputs(), NumOutputs(), frames);
}

void IFxBase::OnActivate(bool) { Guard g(lock); }

bool IFxBase::SaveState(StateChunk& chunk) { return SaveParams(chunk); }

int32_t IFxBase::LoadState(const StateChunk& chunk, int32_t position) { return LoadParams(chunk, position); }

void IFxBase::OnMouseOverParam(int) {}

bool IFxBase::BeginParamEdit(int) { return false; }

bool IFxBase::PerformParamEdit(int, double) { return false; }

bool IFxBase::EndParamEdit(int) { return false; }

int IFxBase::SamplePosition() const { return 0; }

void IFxBase::ResizeEditorWindow(int, int) {}

bool IFxBase::AcceptsParamRestore(int, int) { return true; }

bool IFxBase::SaveParams(StateChunk& chunk)
{
    Guard g(lock);
    bool ok = true;
    for (int i = 0; i < NumParams(); ++i)
        ok = chunk.PutDouble(params.Get(i)->Value()) && ok;
    return ok && chunk.Size() > 0;
}

int32_t IFxBase::CheckParamRecord(const StateChunk& chunk, int32_t position) const
{
    for (int i = 0; i < NumParams() && position >= 0; ++i) {
        double x = 0.0;
        position = chunk.GetDouble(x, position);
        if (!std::isfinite(x))
            position = -1;
    }
    return position;
}

int32_t IFxBase::LoadParams(const StateChunk& chunk, int32_t position)
{
    Guard g(lock);
    // The whole record is checked before anything changes: a short record, or one holding a value
    // that is not a finite number, leaves every parameter as it is.
    const int32_t end = CheckParamRecord(chunk, position);
    if (end < 0)
        return -1;
    for (int i = 0; i < NumParams(); ++i) {
        double x = 0.0;
        position = chunk.GetDouble(x, position);
        if (!AcceptsParamRestore(i, CurrentPreset()))
            continue;
        StageParamValue(i, params.Get(i)->Conform(x));
    }
    HandOverStaged();
    return end;
}

bool IFxBase::SavePresetBank(StateChunk& chunk)
{
    Guard g(lock);
    bool ok = true;
    for (int i = 0; i < NumPresets(); ++i) {
        const PresetSlot* slot = presets.Get(i);
        const uint8_t initialised = slot->initialised ? 1 : 0;
        ok = chunk.PutText(slot->name) && ok;
        ok = chunk.PutBytes(&initialised, 1) && ok;
        if (slot->initialised && slot->chunk.Size() > 0) {
            ok = chunk.PutBytes(slot->chunk.Data(), slot->chunk.Size()) && ok;
        } else if (slot->initialised) {
            // A slot without values stands for the defaults; writing them keeps the bank readable,
            // since a reader takes every initialised slot to carry one value per parameter.
            for (int p = 0; p < NumParams(); ++p)
                ok = chunk.PutDouble(params.Get(p)->Default()) && ok;
        }
        ok = ok && chunk.Size() > 0;
    }
    return ok;
}

int32_t IFxBase::ReadPresetBankSlot(const StateChunk& chunk, int32_t position, PresetSlot* into) const
{
    char name[kPresetNameSize];
    position = chunk.GetText(name, kPresetNameSize, position);
    uint8_t initialised = 0;
    if (position >= 0)
        position = chunk.GetByte(initialised, position);
    const int32_t values = position;
    if (position >= 0 && initialised)
        position = CheckParamRecord(chunk, position);
    if (position < 0 || !into)
        return position;
    CopyFixedText(into->name, kPresetNameSize, name);
    into->initialised = initialised != 0;
    into->chunk.Clear();
    int32_t at = values;
    for (int p = 0; into->initialised && p < NumParams(); ++p) {
        double x = 0.0;
        at = chunk.GetDouble(x, at);
        into->chunk.PutDouble(params.Get(p)->Conform(x));
    }
    return position;
}

int32_t IFxBase::LoadPresetBank(const StateChunk& chunk, int32_t position)
{
    Guard g(lock);
    // First the whole bank is read without storing anything; only a bank that is complete in every
    // slot replaces the slots.
    int32_t end = position;
    for (int i = 0; i < NumPresets() && end >= 0; ++i)
        end = ReadPresetBankSlot(chunk, end, nullptr);
    if (end < 0)
        return -1;
    for (int i = 0; i < NumPresets(); ++i)
        position = ReadPresetBankSlot(chunk, position, presets.Get(i));
    LoadPreset(CurrentPreset());
    return end;
}

const char* IFxBase::PresetName(int index) const
{
    const PresetSlot* slot = presets.Get(index);
    return slot ? slot->name : "";
}

bool IFxBase::PresetHasValues(int index) const
{
    const PresetSlot* slot = presets.Get(index);
    return slot && slot->initialised && slot->chunk.Size() > 0;
}

template <class Take>
bool IFxBase::ReadPresetValues(const PresetSlot& slot, Take&& take)
{
    if (slot.chunk.Size() == 0) {
        // A named slot without values stands for the declared defaults.
        for (int i = 0; i < NumParams(); ++i)
            take(i, params.Get(i)->Default());
        return true;
    }
    int32_t position = CheckParamRecord(slot.chunk, 0);
    if (position <= 0)
        return false;
    position = 0;
    for (int i = 0; i < NumParams(); ++i) {
        double x = 0.0;
        position = slot.chunk.GetDouble(x, position);
        if (AcceptsParamRestore(i, CurrentPreset()))
            take(i, params.Get(i)->Conform(x));
    }
    return true;
}

bool IFxBase::LoadPreset(int index)
{
    Guard g(lock);
    PresetSlot* slot = presets.Get(index);
    if (!slot)
        return false;
    SettlePresetNames();
    if (slot->initialised) {
        SetCurrentPreset(index);
        if (!ReadPresetValues(*slot, [this](int i, double value) { StageParamValue(i, value); }))
            return false;
        HandOverStaged();
    } else {
        slot->initialised = true;
        NextUserPresetName(slot->name, kPresetNameSize);
        slot->renameUnreported = true;
    }
    SetCurrentPreset(index);
    RefreshEditorParams();
    return true;
}

bool IFxBase::LoadPresetOnAudio(int index)
{
    PresetSlot* slot = presets.Get(index);
    if (!slot)
        return false;
    if (slot->initialised) {
        SetCurrentPreset(index);
        const int frames = StepOrAtOnce();
        if (!ReadPresetValues(*slot, [this, frames](int i, double value) { ApplyParamValue(i, value, frames); }))
            return false;
    } else {
        slot->claimed = true;
    }
    SetCurrentPreset(index);
    RefreshEditorParams();
    return true;
}

void IFxBase::SettlePresetNames()
{
    for (int i = 0; i < NumPresets(); ++i) {
        PresetSlot* slot = presets.Get(i);
        if (!slot->claimed.exchange(false) || slot->initialised)
            continue;
        slot->initialised = true;
        NextUserPresetName(slot->name, kPresetNameSize);
        slot->renameUnreported = true;
    }
}

std::vector<int> IFxBase::TakeRenamedPresets()
{
    Guard g(lock);
    SettlePresetNames();
    std::vector<int> renamed;
    for (int i = 0; i < NumPresets(); ++i) {
        PresetSlot* slot = presets.Get(i);
        if (slot->renameUnreported)
            renamed.push_back(i);
        slot->renameUnreported = false;
    }
    return renamed;
}

void IFxBase::FillDefaultPresets(const char* name, int count)
{
    for (int n = 0; n < count; ++n) {
        for (int i = 0; i < NumPresets(); ++i) {
            PresetSlot* slot = presets.Get(i);
            if (slot->initialised)
                continue;
            slot->initialised = true;
            CopyFixedText(slot->name, kPresetNameSize, name ? name : "Default");
            break;
        }
    }
}

void IFxBase::AddPreset(const char* name, std::span<const double> values)
{
    PresetSlot* slot = nullptr;
    for (int i = 0; i < NumPresets() && !slot; ++i)
        if (!presets.Get(i)->initialised)
            slot = presets.Get(i);
    if (!slot)
        return;
    slot->initialised = true;
    CopyFixedText(slot->name, kPresetNameSize, name);
    for (int i = 0; i < NumParams(); ++i)
        slot->chunk.PutDouble(static_cast<size_t>(i) < values.size() ? values[static_cast<size_t>(i)] : 0.0);
}

void IFxBase::NextUserPresetName(char* out, int outSize) const
{
    int count = 0;
    for (int i = 0; i < NumPresets(); ++i)
        if (std::strstr(presets.Get(i)->name, "user preset"))
            ++count;
    std::snprintf(out, static_cast<size_t>(outSize), "%s %d", "user preset", count + 1);
}

void IFxBase::SetParamFromEditor(int index, double normalized)
{
    IParamDef* param = GetParam(index);
    if (!param)
        return;
    {
        Guard g(lock);
        // One value on its own: its write is a change of its own.
        valuesWriting.fetch_add(1, std::memory_order_acq_rel);
        param->SetFromNormalized(normalized);
        pendingChanges.Push(index);
        valuesWriting.fetch_add(1, std::memory_order_release);
    }
    PerformParamEdit(index, normalized);
    ApplyPendingIfIdle();
}

double IFxBase::EffectValue(int index) const
{
    return index >= 0 && index < NumParams() ? effectValues[static_cast<size_t>(index)] : 0.0;
}

void IFxBase::TakeParamValues()
{
    for (int i = 0; i < NumParams(); ++i)
        effectValues[static_cast<size_t>(i)] = params.Get(i)->Value();
}

bool IFxBase::ClaimEffect(EffectHolder side)
{
    int expected = static_cast<int>(EffectHolder::None);
    return effectHolder.compare_exchange_strong(expected, static_cast<int>(side), std::memory_order_acquire);
}

void IFxBase::ReleaseEffect() { effectHolder.store(static_cast<int>(EffectHolder::None), std::memory_order_release); }

void IFxBase::TakeEffectValue(int index, double value, int frames)
{
    if (index < 0 || index >= NumParams())
        return;
    effectValues[static_cast<size_t>(index)] = value;
    changeFrames = frames;
    ParamChanged(index);
    changeFrames = kChangeAtOnce;
}

void IFxBase::ApplyParamValue(int index, double plain, int frames)
{
    IParamDef* param = GetParam(index);
    if (!param)
        return;
    param->SetValueClamped(plain);
    TakeEffectValue(index, param->Value(), frames);
}

void IFxBase::StageParamValue(int index, double plain)
{
    IParamDef* param = GetParam(index);
    if (!param)
        return;
    if (!stagingOpen) {
        stagingOpen = true;
        valuesWriting.fetch_add(1, std::memory_order_acq_rel);
    }
    param->SetValueClamped(plain);
    pendingChanges.Stage(index);
}

void IFxBase::HandOverStaged()
{
    pendingChanges.Publish();
    if (stagingOpen) {
        stagingOpen = false;
        valuesWriting.fetch_add(1, std::memory_order_release);
    }
    ApplyPendingIfIdle();
}

void IFxBase::ApplyPending(int frames)
{
    if (pendingChanges.Empty())
        return;
    // The values in force are read while no UI-side change is being written (the count is even
    // and the same before and after), so what the effect takes holds every change whole: the
    // changes published by then, and the host's own writes, which are newer. Otherwise the
    // changes wait for the next block.
    const std::uint32_t before = valuesWriting.load(std::memory_order_acquire);
    if (before % 2 != 0)
        return;
    for (int i = 0; i < NumParams(); ++i)
        inForceCopy[static_cast<size_t>(i)] = params.Get(i)->Value();
    std::atomic_thread_fence(std::memory_order_acquire);
    const std::uint32_t head = pendingChanges.Published();
    const bool overflowed = pendingChanges.TakeOverflow();
    std::atomic_thread_fence(std::memory_order_acquire);
    if (valuesWriting.load(std::memory_order_relaxed) != before) {
        if (overflowed)
            pendingChanges.KeepOverflow();
        return;
    }
    const auto take = [this, frames](int index) {
        if (index >= 0 && index < NumParams())
            TakeEffectValue(index, inForceCopy[static_cast<size_t>(index)], frames);
    };
    if (overflowed) {
        pendingChanges.TakeUpTo(head, [](int) {});
        for (int i = 0; i < NumParams(); ++i)
            take(i);
    } else {
        pendingChanges.TakeUpTo(head, take);
    }
}

void IFxBase::ApplyPendingIfIdle()
{
    // The lock orders this against SetAudioLive. A process call that comes while the host has not
    // made the audio side live holds the effect for its duration; the UI side then waits for the
    // call to end (the audio side never waits for the UI side).
    Guard g(lock);
    if (audioLive.load())
        return;
    while (!ClaimEffect(EffectHolder::UiSide))
        std::this_thread::yield();
    ApplyPending();
    ReleaseEffect();
}

void IFxBase::SetAudioLive(bool live)
{
    Guard g(lock);
    audioLive.store(live);
    // Whatever was handed over while the audio side ran, and was not taken up, applies now.
    ApplyPendingIfIdle();
}

void IFxBase::RefreshEditorParams()
{
    for (int i = 0; i < NumParams(); ++i)
        PublishHostChange(i, params.Get(i)->Normalized());
}

void IFxBase::PublishHostChange(int index, double normalized)
{
    if (index < 0 || index >= NumParams())
        return;
    HostChange& change = hostChanges[static_cast<size_t>(index)];
    change.normalized.store(normalized, std::memory_order_relaxed);
    change.serial.fetch_add(1, std::memory_order_release);
}

std::uint32_t IFxBase::HostChangeSerial(int index) const
{
    if (index < 0 || index >= NumParams())
        return 0;
    return hostChanges[static_cast<size_t>(index)].serial.load(std::memory_order_acquire);
}

double IFxBase::HostChangeValue(int index) const
{
    const IParamDef* param = GetParam(index);
    if (!param)
        return 0.0;
    // Before any host-side change the value to show is the parameter's own.
    const HostChange& change = hostChanges[static_cast<size_t>(index)];
    if (change.serial.load(std::memory_order_acquire) == 0)
        return param->Normalized();
    return change.normalized.load(std::memory_order_relaxed);
}

void IFxBase::BeginDelayedParamEdit(int index)
{
    if (pendingEndEdit == index)
        return;
    FlushDelayedParamEdit();
    BeginParamEdit(index);
}

void IFxBase::EndDelayedParamEdit(int index)
{
    if (!editor) {
        EndParamEdit(index);
        return;
    }
    pendingEndEdit = index;
    editor->SetParamEditCountdown(std::max(1, editor->FrameRate() / 2));
}

void IFxBase::FlushDelayedParamEdit()
{
    if (editor)
        editor->CancelParamEditCountdown();
    if (pendingEndEdit >= 0) {
        EndParamEdit(pendingEndEdit);
        pendingEndEdit = -1;
    }
}

void IFxBase::AttachEditor(std::unique_ptr<IFxEditor> newEditor)
{
    if (!newEditor)
        return;
    newEditor->PrepareDrawing();
    for (int i = 0; i < NumParams(); ++i)
        newEditor->PushParameterToControls(i, HostChangeValue(i), true);
    editor = std::move(newEditor);
}

IFxEditor* IFxBase::EnsureEditor()
{
    if (!editor)
        AttachEditor(CreateEditor());
    return editor.get();
}

void IFxBase::IdentifyHost(const char* name) { hostKind = HostKindFromName(name); }

void IFxBase::FormatVersion(char* out, int outSize) const
{
    std::snprintf(out, static_cast<size_t>(outSize), "v%d.%02d", version >> 16, (version >> 8) & 0xFF);
}

bool IFxBase::IsChannelPairAllowed(int inputs, int outputs) const
{
    for (int i = 0; i < channelPairs.Count(); ++i) {
        const ChannelPair* pair = channelPairs.Get(i);
        const bool inOk = pair->inputs < 0 || pair->inputs == inputs;
        const bool outOk = pair->outputs < 0 || pair->outputs == outputs;
        if (inOk && outOk)
            return true;
    }
    return false;
}

void IFxBase::ChangeBlockSize(int frames)
{
    if (frames == blockSize)
        return;
    frames = std::max(frames, 0);
    const int32_t bytes =
        frames > (0x7FFFFFFF / static_cast<int>(sizeof(double))) ? -1 : frames * static_cast<int>(sizeof(double));
    if (bytes < 0)
        return;
    for (int c = 0; c < NumInputs(); ++c) {
        GrowBuf& scratch = inBindings.Get(c)->scratch;
        if (!scratch.Resize(bytes, true))
            return;
        if (scratch.Data())
            std::memset(scratch.Data(), 0, static_cast<size_t>(bytes));
    }
    for (int c = 0; c < NumOutputs(); ++c) {
        for (GrowBuf* buffer : {&outBindings.Get(c)->scratch, &outBindings.Get(c)->dry}) {
            if (!buffer->Resize(bytes, true))
                return;
            if (buffer->Data())
                std::memset(buffer->Data(), 0, static_cast<size_t>(bytes));
        }
    }
    blockSize = frames;
    // Unconnected channels point at their scratch buffers, which may have moved.
    for (int c = 0; c < NumInputs(); ++c)
        if (!inBindings.Get(c)->connected)
            ConnectInputs(c, 1, false);
    for (int c = 0; c < NumOutputs(); ++c)
        if (!outBindings.Get(c)->connected)
            ConnectOutputs(c, 1, false);
}

void IFxBase::ConnectInputs(int first, int count, bool connected)
{
    const int end = std::min(first + count, NumInputs());
    for (int c = std::max(first, 0); c < end; ++c) {
        InChannelBinding* b = inBindings.Get(c);
        b->connected = connected;
        if (!connected) {
            *b->entry = static_cast<double*>(b->scratch.Data());
            *b->entry32 = static_cast<float*>(b->scratch.Data());
        }
    }
}

void IFxBase::ConnectOutputs(int first, int count, bool connected)
{
    const int end = std::min(first + count, NumOutputs());
    for (int c = std::max(first, 0); c < end; ++c) {
        OutChannelBinding* b = outBindings.Get(c);
        b->connected = connected;
        if (!connected) {
            *b->entry = static_cast<double*>(b->scratch.Data());
            *b->entry32 = static_cast<float*>(b->scratch.Data());
        }
    }
}

namespace {

// Points the next `count` connected channels from `first` at the host's buffers; a channel
// without a host buffer reads (or writes) its scratch buffer instead and, for an input, counts
// as unconnected.
template <class Binding, class T>
void BindChannels(OwnedPtrList<Binding>& bindings, int first, int count, T* const* host, bool inputs)
{
    int next = 0;
    for (int c = std::max(first, 0); c < bindings.Count() && next < count; ++c) {
        Binding* b = bindings.Get(c);
        if (!b->connected)
            continue;
        T* buffer = host ? host[next] : nullptr;
        ++next;
        if (!buffer) {
            buffer = static_cast<T*>(b->scratch.Data());
            if (inputs)
                b->connected = false;
        }
        if constexpr (sizeof(T) == sizeof(float))
            *b->entry32 = buffer;
        else
            *b->entry = buffer;
    }
}

template <class T>
bool BindEvery(OwnedPtrList<InChannelBinding>& ins, OwnedPtrList<OutChannelBinding>& outs, T* const* inputs,
               int inputCount, T* const* outputs, int outputCount, int offset)
{
    const int numIn = ins.Count();
    const int numOut = outs.Count();
    if (!inputs || !outputs || inputCount < numIn || outputCount < numOut)
        return false;
    for (int c = 0; c < numIn; ++c)
        if (!inputs[c])
            return false;
    for (int c = 0; c < numOut; ++c)
        if (!outputs[c])
            return false;
    for (int c = 0; c < numIn; ++c) {
        InChannelBinding* b = ins.Get(c);
        b->connected = true;
        if constexpr (sizeof(T) == sizeof(float))
            *b->entry32 = inputs[c] + offset;
        else
            *b->entry = inputs[c] + offset;
    }
    for (int c = 0; c < numOut; ++c) {
        OutChannelBinding* b = outs.Get(c);
        b->connected = true;
        if constexpr (sizeof(T) == sizeof(float))
            *b->entry32 = outputs[c] + offset;
        else
            *b->entry = outputs[c] + offset;
    }
    return true;
}

}  // namespace

bool IFxBase::BindAllChannels(float* const* inputs, int inputCount, float* const* outputs, int outputCount, int offset)
{
    return BindEvery(inBindings, outBindings, inputs, inputCount, outputs, outputCount, offset);
}

bool IFxBase::BindAllChannels(double* const* inputs, int inputCount, double* const* outputs, int outputCount,
                              int offset)
{
    return BindEvery(inBindings, outBindings, inputs, inputCount, outputs, outputCount, offset);
}

void IFxBase::BindInputs(int first, int count, float* const* host)
{
    BindChannels(inBindings, first, count, host, true);
}

void IFxBase::BindInputs(int first, int count, double* const* host)
{
    BindChannels(inBindings, first, count, host, true);
}

void IFxBase::BindOutputs(int first, int count, float* const* host)
{
    BindChannels(outBindings, first, count, host, false);
}

void IFxBase::BindOutputs(int first, int count, double* const* host)
{
    BindChannels(outBindings, first, count, host, false);
}

void IFxBase::ProcessEffect(int frames, bool singlePrecision)
{
    if (!singlePrecision) {
        if (processingEnabled)
            ProcessBlock(inputPointers.get(), outputPointers.get(), frames);
        return;
    }
    if (processingEnabled) {
        ProcessBlockFloat(inputPointers32.get(), outputPointers32.get(), frames);
        return;
    }
    // Not ready to process: 32-bit outputs are silent.
    for (int c = 0; c < NumOutputs(); ++c)
        if (float* out = outputPointers32[static_cast<size_t>(c)]; out && outBindings.Get(c)->connected && frames > 0)
            std::fill_n(out, frames, 0.0f);
}

int IFxBase::DeclickFrames() const
{
    const double frames = kDeclickSeconds * SampleRate();
    return frames >= 1.0 && frames < 1e6 ? static_cast<int>(frames + 0.5) : 1;
}

namespace {

// Keeps the dry input of each output channel that has one, mixes it into the processed output
// frame by frame: out = processed + (dry - processed) * mix, mix following the glide.
template <class T>
void KeepDry(T* const* inputs, OwnedPtrList<OutChannelBinding>& outs, int shared, int frames)
{
    for (int c = 0; c < outs.Count(); ++c) {
        auto* dry = static_cast<double*>(outs.Get(c)->dry.Data());
        if (!dry)
            continue;
        for (int i = 0; i < frames; ++i)
            dry[i] = c < shared && inputs[c] ? static_cast<double>(inputs[c][i]) : 0.0;
    }
}

template <class T>
void MixDry(T* const* outputs, OwnedPtrList<OutChannelBinding>& outs, int frames, Glide mix)
{
    for (int c = 0; c < outs.Count(); ++c) {
        const auto* dry = static_cast<const double*>(outs.Get(c)->dry.Data());
        if (!dry || !outputs[c])
            continue;
        Glide m = mix;
        for (int i = 0; i < frames; ++i) {
            const double processed = static_cast<double>(outputs[c][i]);
            outputs[c][i] = static_cast<T>(processed + (dry[i] - processed) * m.Next());
        }
    }
}

}  // namespace

void IFxBase::ProcessWithBypass(int frames, bool singlePrecision)
{
    const double wanted = Bypassed() ? 1.0 : 0.0;
    if (wanted != bypassMix.target)
        bypassMix.To(wanted, ProcessingStarted() ? DeclickFrames() : 0);
    if (!bypassMix.Moving()) {
        if (bypassMix.value == 1.0)
            CopyBypassed(frames, singlePrecision);
        else
            ProcessEffect(frames, singlePrecision);
        return;
    }
    const int shared = std::min(NumInputs(), NumOutputs());
    if (frames > 0 && frames <= blockSize) {
        if (singlePrecision) {
            KeepDry(inputPointers32.get(), outBindings, shared, frames);
            ProcessEffect(frames, true);
            MixDry(outputPointers32.get(), outBindings, frames, bypassMix);
        } else {
            KeepDry(inputPointers.get(), outBindings, shared, frames);
            ProcessEffect(frames, false);
            MixDry(outputPointers.get(), outBindings, frames, bypassMix);
        }
    }
    bypassMix.Advance(std::max(frames, 0));
}

void IFxBase::CopyBypassed(int frames, bool singlePrecision)
{
    if (singlePrecision)
        PassThrough(inputPointers32.get(), outputPointers32.get(), frames);
    else
        PassThrough(inputPointers.get(), outputPointers.get(), frames);
}

static void SetLabel(OwnedPtrList<TextBuf>& labels, int index, const char* label)
{
    if (index < 0)
        return;
    while (labels.Count() <= index)
        if (!labels.Append(new TextBuf))
            return;
    labels.Get(index)->Set(label);
}

void IFxBase::SetInputLabel(int index, const char* label)
{
    if (index <= 1)
        SetLabel(inputLabels, index, label);
}

void IFxBase::SetOutputLabel(int index, const char* label) { SetLabel(outputLabels, index, label); }

const char* IFxBase::InputLabel(int index) const
{
    const TextBuf* t = inputLabels.Get(index);
    return t ? t->Get() : "";
}

const char* IFxBase::OutputLabel(int index) const
{
    const TextBuf* t = outputLabels.Get(index);
    return t ? t->Get() : "";
}
