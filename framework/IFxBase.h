// The plug-in base every effect derives from: parameters, presets, state, the plug-in lock,
// channel bookkeeping and the hand-over of the editor. It knows no plug-in format. The effect
// overrides the audio and change hooks; a format's binding, derived virtually from this base
// beside the effect, supplies the host-facing operations (without one they reach no host).
//
// Two sides meet here. The UI side (state, presets, editor edits) keeps the values in force in
// the parameters and serialises itself with the plug-in lock; the audio side never takes that
// lock. The effect's own state belongs to whichever side holds it (ClaimEffect): the audio side
// while it processes, the UI side only while the audio side is not live. Changes from the UI side
// reach the effect through the hand-over queue, each change whole.
#pragma once

#include "framework/ChannelBinding.h"
#include "framework/Glide.h"
#include "framework/IEditHost.h"
#include "framework/IFxEditor.h"
#include "framework/IParamDef.h"
#include "framework/ParamChangeQueue.h"
#include "framework/PresetSlot.h"
#include "framework/PtrList.h"
#include "framework/StateChunk.h"
#include "framework/TextBuf.h"
#include "platform/RecursiveLock.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

// Identity and configuration an effect declares to the framework.
struct IFxDeclaration {
    int numParams;
    const char* channelConfig;  // space-separated "in-out" pairs, e.g. "1-1 2-2"
    int numPresets;
    const char* effectName;
    const char* productName;
    const char* manufacturerName;
    int32_t version;  // 0xMMMMmmbb
    int32_t uniqueId;
    int32_t manufacturerId;
    int latency;
};

constexpr int kIdentitySize = 128;

class IFxBase : public IEditHost {
public:
    explicit IFxBase(const IFxDeclaration& declaration);
    virtual ~IFxBase();
    IFxBase(const IFxBase&) = delete;
    IFxBase& operator=(const IFxBase&) = delete;

    // Hooks the effect overrides.
    virtual void Reset();
    virtual void ParamChanged(int index);
    virtual void ProcessBlock(double** inputs, double** outputs, int frames);
    // 32-bit host buffers; by default converted through the scratch buffers to the double hook.
    virtual void ProcessBlockFloat(float** inputs, float** outputs, int frames);
    virtual void OnActivate(bool active);
    virtual bool SaveState(StateChunk& chunk);
    virtual int32_t LoadState(const StateChunk& chunk, int32_t position);
    void OnMouseOverParam(int index) override;
    virtual bool AcceptsParamRestore(int index, int presetIndex);

    // Host-facing operations the binding supplies.
    bool BeginParamEdit(int index) override;
    // Opens the host's edit gesture for a wheel step unless the same parameter's gesture is still
    // waiting for its delayed end; a pending gesture of another parameter is ended first.
    void BeginDelayedParamEdit(int index) override;
    virtual bool PerformParamEdit(int index, double normalized);
    bool EndParamEdit(int index) override;
    // The host's position in samples, from the last process context.
    virtual int SamplePosition() const;
    virtual int HostKind() const { return hostKind; }
    void ResizeEditorWindow(int width, int height) override;
    virtual void AttachEditor(std::unique_ptr<IFxEditor> editor);
    virtual void ChangeBlockSize(int frames);
    virtual bool SaveParams(StateChunk& chunk);
    // A record that is short or holds a non-finite value answers -1 and changes nothing; values
    // are conformed to their parameters as host edits would be.
    virtual int32_t LoadParams(const StateChunk& chunk, int32_t position);
    virtual bool SavePresetBank(StateChunk& chunk);
    // The whole bank is checked first; a bank that fails in any slot answers -1 and changes nothing.
    virtual int32_t LoadPresetBank(const StateChunk& chunk, int32_t position);

    // Parameters.
    int NumParams() const { return params.Count(); }
    IParamDef* GetParam(int index) const { return params.Get(index); }
    // The plain value the effect runs with (0 for an index out of range). It follows the value in
    // force once the effect has taken the change.
    double EffectValue(int index) const;

    // Presets.
    int NumPresets() const { return presets.Count(); }
    int CurrentPreset() const { return currentPreset.load(std::memory_order_relaxed); }
    void SetCurrentPreset(int index) { currentPreset.store(index, std::memory_order_relaxed); }
    const char* PresetName(int index) const;
    // The UI side's preset load: the values reach the effect as one change.
    bool LoadPreset(int index);
    void FillDefaultPresets(const char* name, int count);
    // The next unused slot takes the name and these plain values in index order; missing values
    // count as 0.
    void AddPreset(const char* name, std::span<const double> values);
    void NextUserPresetName(char* out, int outSize) const;
    bool PresetHasValues(int index) const;

    // The editor, made by CreateEditor when a view first asks for it; it then stays for later views.
    IFxEditor* EnsureEditor();

    // Editor-originated changes and the delayed end of an edit. The value is stored at once and
    // the host told (outside any lock); the effect takes it on the audio side at the next block
    // start, or at once while the audio side is not live.
    void SetParamFromEditor(int index, double normalized) override;
    void RefreshEditorParams();
    void EndDelayedParamEdit(int index) override;
    void FlushDelayedParamEdit() override;
    const IParamDef* ParamRecord(int index) const override { return GetParam(index); }
    int ParamCount() const override { return NumParams(); }
    std::uint32_t HostChangeSerial(int index) const override;
    double HostChangeValue(int index) const override;

    void IdentifyHost(const char* name);
    void FormatVersion(char* out, int outSize) const;

    // Identity and configuration.
    const char* EffectName() const { return effectName; }
    const char* ProductName() const { return productName; }
    const char* ManufacturerName() const { return manufacturerName; }
    int32_t UniqueId() const { return uniqueId; }
    int32_t ManufacturerId() const { return manufacturerId; }
    int32_t Version() const { return version; }
    int Latency() const { return latency; }
    int TailLength() const { return tailLength; }
    int BlockSize() const { return blockSize; }
    double SampleRate() const { return sampleRate; }
    int NumInputs() const { return inBindings.Count(); }
    int NumOutputs() const { return outBindings.Count(); }
    bool ProcessingEnabled() const { return processingEnabled; }
    bool Bypassed() const { return bypassed.load(std::memory_order_relaxed); }
    void SetBypassed(bool state) { bypassed.store(state, std::memory_order_relaxed); }
    IFxEditor* Editor() const { return editor.get(); }
    // Inside ParamChanged: how the change is to be heard (kChangeAtOnce, kChangeAsStep, or the
    // frames over which the value is reached).
    int ChangeFrames() const { return changeFrames; }
    platform::RecursiveLock& Lock() const { return lock; }

protected:
    // Builds the effect's editor; null for a plug-in without one.
    virtual std::unique_ptr<IFxEditor> CreateEditor() { return nullptr; }
    // A host-side change of a parameter for the editor to show (normalised value).
    void PublishHostChange(int index, double normalized);

    // Takes the parameters' current values as the effect's; for the effect's constructor, once
    // its parameters are defined.
    void TakeParamValues();

    // The effect's holder: the side that may call Reset, ParamChanged and ProcessBlock. Claiming
    // never waits: it fails while the other side holds the effect.
    enum class EffectHolder : int { None, UiSide, AudioSide };
    bool ClaimEffect(EffectHolder side);
    void ReleaseEffect();

    // How the effect is to hear the change it is told of (ChangeFrames, inside ParamChanged).
    static constexpr int kChangeAtOnce = 0;
    static constexpr int kChangeAsStep = -1;
    // For the effect's holder: `value` becomes the effect's value of the parameter, then
    // ParamChanged(index) with ChangeFrames() answering `frames`: kChangeAtOnce, kChangeAsStep
    // (a step while processing, which the effect smooths) or n > 0 (the value is reached
    // linearly over the next n frames).
    void TakeEffectValue(int index, double value, int frames = kChangeAtOnce);
    // For the effect's holder: `plain` becomes the value in force (clamped) and the effect's.
    void ApplyParamValue(int index, double plain, int frames = kChangeAtOnce);
    // For the effect's holder: the effect takes the values in force of every parameter a change
    // handed over touched (all of them after an overflow), as soon as it can read them with no
    // UI-side change half written.
    void ApplyPending(int frames = kChangeAtOnce);
    // How a change is heard now: as a step once blocks are being processed, else at once.
    int StepOrAtOnce() const { return ProcessingStarted() ? kChangeAsStep : kChangeAtOnce; }
    // A block has been processed since the host (re)started processing; until then no change is
    // smoothed. Cleared by the binding when processing is set up or activated.
    bool ProcessingStarted() const { return processingStarted.load(std::memory_order_relaxed); }
    void SetProcessingStarted(bool started) { processingStarted.store(started, std::memory_order_relaxed); }
    // The UI side's changes, with the plug-in lock held: stage the values of one change (each
    // becomes the value in force at once), then hand them over together; while the audio side is
    // not live the effect takes them here.
    void StageParamValue(int index, double plain);
    void HandOverStaged();
    // While the audio side is not live (and does not hold the effect), the effect takes what is
    // queued, on this thread.
    void ApplyPendingIfIdle();
    // The audio side is live while the host has it active and processing; leaving that state
    // applies what is still queued. Takes the plug-in lock, so no UI-side apply is under way
    // once the audio side goes live.
    void SetAudioLive(bool live);
    // The audio side's preset load (a host program change): the effect takes the values, heard
    // as a step once processing runs.
    // A slot never used before is only marked; the UI side names it (SettlePresetNames).
    bool LoadPresetOnAudio(int index);
    // UI side, with the plug-in lock held: names the slots the audio side marked, in slot order.
    void SettlePresetNames();
    // UI side: the slots named on their first selection since the last call (the audio side's
    // marks settled first), in slot order.
    std::vector<int> TakeRenamedPresets();

    // The position after a complete parameter record (one finite double per parameter) at
    // `position`, or -1.
    int32_t CheckParamRecord(const StateChunk& chunk, int32_t position) const;
    // take(index, value) for each parameter of a preset slot (its defaults when it holds no
    // values); false, taking nothing, when its record is incomplete.
    template <class Take>
    bool ReadPresetValues(const PresetSlot& slot, Take&& take);
    // Reads one slot of a preset bank; with `into`, stores it there (values conformed).
    int32_t ReadPresetBankSlot(const StateChunk& chunk, int32_t position, PresetSlot* into) const;

    bool IsChannelPairAllowed(int inputs, int outputs) const;
    void ConnectInputs(int first, int count, bool connected);
    void ConnectOutputs(int first, int count, bool connected);
    void BindInputs(int first, int count, float* const* host);
    void BindInputs(int first, int count, double* const* host);
    void BindOutputs(int first, int count, float* const* host);
    void BindOutputs(int first, int count, double* const* host);
    // The usual case in one step: when the host passes at least as many channels as there are
    // inputs and outputs, each with a buffer, every channel is connected and bound to the host's
    // buffer `offset` frames in; otherwise nothing changes and the answer is false.
    bool BindAllChannels(float* const* inputs, int inputCount, float* const* outputs, int outputCount, int offset);
    bool BindAllChannels(double* const* inputs, int inputCount, double* const* outputs, int outputCount, int offset);
    // The audio path below a format's binding, which binds the host's buffers of one block and
    // calls ProcessWithBypass (or CopyBypassed while it cannot hold the effect):
    // - ProcessWithBypass: once blocks are being processed, switching bypass crossfades linearly
    //   between the processed and the dry signal over kDeclickSeconds; before that it switches at
    //   once;
    // - ProcessEffect: the effect's ProcessBlock (or ProcessBlockFloat) on the bound buffers;
    // - CopyBypassed: the bound inputs copied to the outputs.
    void ProcessWithBypass(int frames, bool singlePrecision);
    void ProcessEffect(int frames, bool singlePrecision);
    void CopyBypassed(int frames, bool singlePrecision);
    // Frames over which a step is smoothed: kDeclickSeconds at the current sample rate.
    static constexpr double kDeclickSeconds = 0.01;
    int DeclickFrames() const;
    void SetInputLabel(int index, const char* label);
    void SetOutputLabel(int index, const char* label);
    const char* InputLabel(int index) const;
    const char* OutputLabel(int index) const;
    void SetSampleRate(double rate) { sampleRate = rate; }

    // Copies input channel c to output channel c and silences the remaining outputs.
    void PassThrough(double** inputs, double** outputs, int frames);
    void PassThrough(float** inputs, float** outputs, int frames);

    OwnedPtrList<ChannelPair> channelPairs;
    OwnedPtrList<IParamDef> params;
    OwnedPtrList<PresetSlot> presets;
    std::atomic<int> currentPreset{0};
    int pendingEndEdit = -1;
    // The UI side's lock, never taken by the audio side: held briefly by state copies and
    // restores, preset loads, the hand-over queue's producers and while the effect takes queued
    // changes when the audio side is not live. Never while drawing or calling the host.
    mutable platform::RecursiveLock lock;
    ParamChangeQueue pendingChanges;
    std::atomic<bool> audioLive{false};
    std::atomic<int> effectHolder{static_cast<int>(EffectHolder::None)};
    std::unique_ptr<double[]> effectValues;
    int changeFrames = kChangeAtOnce;  // for the effect's holder, inside ParamChanged
    std::atomic<bool> processingStarted{false};
    // Odd while the UI side writes the values of one change: the audio side's reading of every
    // value in force (after an overflow) retries until it sees none being written.
    std::atomic<std::uint32_t> valuesWriting{0};
    bool stagingOpen = false;  // UI side, with the lock held
    std::unique_ptr<double[]> inForceCopy;  // the audio side's copy of every value in force
    // The audio side's bypass mix: 0 the processed signal, 1 the dry input.
    Glide bypassMix;
    bool processingEnabled = false;
    std::atomic<bool> bypassed{false};
    PtrList<char> paramGroups;
    double sampleRate = 44100.0;
    int latency;
    char effectName[kIdentitySize] = {};
    char productName[kIdentitySize] = {};
    char manufacturerName[kIdentitySize] = {};
    int32_t uniqueId;
    int32_t manufacturerId;
    int32_t version;
    int hostKind = -1;
    int blockSize = 0;
    int tailLength = 0;
    std::unique_ptr<IFxEditor> editor;
    // Per parameter: the count of host-side changes and the last value they gave.
    struct HostChange {
        std::atomic<std::uint32_t> serial{0};
        std::atomic<double> normalized{0.0};
    };
    std::unique_ptr<HostChange[]> hostChanges;
    std::unique_ptr<double*[]> inputPointers;
    std::unique_ptr<double*[]> outputPointers;
    std::unique_ptr<float*[]> inputPointers32;
    std::unique_ptr<float*[]> outputPointers32;
    OwnedPtrList<InChannelBinding> inBindings;
    OwnedPtrList<OutChannelBinding> outBindings;
    OwnedPtrList<TextBuf> inputLabels;
    OwnedPtrList<TextBuf> outputLabels;
};
