// The VST3 binding of the plug-in base: one object that is the host's component, audio
// processor, edit controller and unit info. A plug-in class derives from it and from its effect,
// both sharing the one plug-in base (a virtual base, built by the plug-in class).
#pragma once

#include "framework/IFxBase.h"
#include "framework/vst3/Vst3Automation.h"
#include "framework/vst3/sdk/SingleComponentEffect.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <vector>

class IFxVST3View;

constexpr Steinberg::Vst::ParamID kPresetListId = 0x70727374;  // "prst"
constexpr Steinberg::Vst::ParamID kBypassId = 0x62706173;  // "bpas"

class IFxVST3 : public virtual IFxBase, public Steinberg::Vst::SingleComponentEffect, public Steinberg::Vst::IUnitInfo {
public:
    explicit IFxVST3(const IFxDeclaration& declaration);
    ~IFxVST3() override;

    // IPluginBase
    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
    Steinberg::tresult PLUGIN_API terminate() override;

    // IComponent
    Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;
    Steinberg::tresult PLUGIN_API getControllerClassId(Steinberg::TUID classID) override;
    Steinberg::tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) override;
    Steinberg::tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
                                                 Steinberg::Vst::RoutingInfo& outInfo) override;

    // IAudioProcessor
    Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                     Steinberg::int32 numIns,
                                                     Steinberg::Vst::SpeakerArrangement* outputs,
                                                     Steinberg::int32 numOuts) override;
    Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) override;
    Steinberg::uint32 PLUGIN_API getLatencySamples() override;
    Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
    Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) override;
    Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
    Steinberg::uint32 PLUGIN_API getTailSamples() override;

    // IEditController
    Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream* state) override;
    // An index outside the parameters answers kResultFalse.
    Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex,
                                                   Steinberg::Vst::ParameterInfo& info) override;
    Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id,
                                                        Steinberg::Vst::ParamValue normalized,
                                                        Steinberg::Vst::String128 string) override;
    Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(Steinberg::Vst::ParamID id,
                                                                 Steinberg::Vst::ParamValue plain) override;
    Steinberg::Vst::ParamValue PLUGIN_API normalizedParamToPlain(Steinberg::Vst::ParamID id,
                                                                 Steinberg::Vst::ParamValue normalized) override;
    Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                     Steinberg::Vst::ParamValue normalized) override;
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;

    // IEditController2
    Steinberg::tresult PLUGIN_API setKnobMode(Steinberg::Vst::KnobMode mode) override;
    Steinberg::tresult PLUGIN_API openHelp(Steinberg::TBool onlyCheck) override;
    Steinberg::tresult PLUGIN_API openAboutBox(Steinberg::TBool onlyCheck) override;

    // IUnitInfo
    Steinberg::int32 PLUGIN_API getUnitCount() override;
    Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 unitIndex, Steinberg::Vst::UnitInfo& info) override;
    Steinberg::int32 PLUGIN_API getProgramListCount() override;
    Steinberg::tresult PLUGIN_API getProgramListInfo(Steinberg::int32 listIndex,
                                                     Steinberg::Vst::ProgramListInfo& info) override;
    Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                                 Steinberg::Vst::String128 name) override;
    Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                                 Steinberg::Vst::CString attributeId,
                                                 Steinberg::Vst::String128 attributeValue) override;
    Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId,
                                                       Steinberg::int32 programIndex) override;
    Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId,
                                                      Steinberg::int32 programIndex, Steinberg::int16 midiPitch,
                                                      Steinberg::Vst::String128 name) override;
    Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() override;
    Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID unitId) override;
    Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                               Steinberg::int32 busIndex, Steinberg::int32 channel,
                                               Steinberg::Vst::UnitID& unitId) override;
    Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32 listOrUnitId, Steinberg::int32 programIndex,
                                                     Steinberg::IBStream* data) override;

    // Edit notifications and editor operations of the plug-in base.
    bool BeginParamEdit(int index) override;
    bool PerformParamEdit(int index, double normalized) override;
    bool EndParamEdit(int index) override;
    void ResizeEditorWindow(int width, int height) override;

    int SamplePosition() const override;
    void OnEditorFrame() override { DeliverHostNotes(); }

    // Open editor views, oldest first; a view adds and removes itself.
    void AddView(IFxVST3View* view);
    void RemoveView(IFxVST3View* view);
    int NumViews() const { return static_cast<int>(views.size()); }
    IFxVST3View* View(int index) const;

    OBJ_METHODS(IFxVST3, SingleComponentEffect)
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    REFCOUNT_METHODS(SingleComponentEffect)

protected:
    Steinberg::tresult readComponentState(Steinberg::IBStream* state) override;
    Steinberg::tresult writeComponentState(Steinberg::IBStream* state) override;
    Steinberg::tresult readControllerState(Steinberg::IBStream* state) override;
    Steinberg::tresult writeControllerState(Steinberg::IBStream* state) override;

private:
    void RegisterParameters();
    // Host automation within a block: runs of at most this many frames, cut at every point.
    static constexpr int kAutomationRunFrames = 32;
    double NormalizedNow(Steinberg::Vst::ParamID id) const;
    ParamMotion MotionOf(Steinberg::Vst::ParamID id) const;
    // One host change of `id`, heard as `frames` says (see TakeEffectValue).
    void ApplyHostChange(Steinberg::Vst::ParamID id, double normalized, int frames);
    // A host value of parameter `index` for the effect, without showing it in the editor.
    void TakeHostValue(int index, double normalized, int frames);
    // Every queue's last point, at the block's start.
    void ApplyChangesAtStart();
    // What the run of `frames` frames from `offset` takes of the queues: points that fall on its
    // first frame, the lines' values at its start (Runs) or at its end, reached frame by frame
    // (Frames).
    void ApplyChangesOfRun(int offset, int frames);
    // Shows the editor the values the lines of a block of `total` frames end at; the runs' own
    // values are not shown one by one.
    void PublishAutomatedValues(int total);
    bool Processable(const Steinberg::Vst::ProcessData& data) const;
    void ProcessAutomated(Steinberg::Vst::ProcessData& data, int total);
    // The host's block in pieces of at most the block size; without the effect each piece is
    // passed through.
    void ProcessInBlocks(Steinberg::Vst::ProcessData& data, bool withEffect);
    void ProcessSpan(Steinberg::Vst::ProcessData& data, int offset, int frames, bool withEffect);
    void ConnectAndBind(Steinberg::Vst::ProcessData& data, int offset, bool doublePrecision);
    void SilenceOutputs(Steinberg::Vst::ProcessData& data);
    int PresetIndexFromNormalized(double normalized) const;

    // Program changes and what the host must hear of them. Selecting the program already in force
    // is no change, from either side: it loads nothing (a host that sends its program change to
    // the controller and to the processor loads it once, and no edit made in between is undone).
    // The UI side's change (the host's program list): the preset is loaded and the host told at once.
    Steinberg::tresult SelectProgramOnUi(int index);
    // The audio side's change (a program point in process): loaded there; the host is told on the
    // UI side, by DeliverHostNotes.
    void SelectProgramOnAudio(int index);
    // UI side: tells the host what the audio side noted since the last call: new parameter values
    // (restartComponent) and slots named on first selection (notifyProgramListChange). Runs from
    // the editor's frame tick and from the controller calls getParamNormalized, setParamNormalized,
    // getProgramName, getProgramInfo and the component's getState.
    void DeliverHostNotes();
    // Tells the host that parameter values changed: restartComponent(kParamValuesChanged), or
    // for a host that cannot take that inside its own calls, an edit of every value.
    void TellHostValuesChanged();
    // Checks the bypass word after the parameter record at `position`: its end (position itself
    // for an older state without one), or -1 for a state that is not ours; `bypass` is set when
    // the word is present.
    int32_t ReadBypassWord(const StateChunk& chunk, int32_t position, int& bypass) const;

    std::atomic<bool> hostActive{false};
    std::atomic<bool> hostProcessing{false};
    // What the audio side owes the host, for DeliverHostNotes (kNote* bits).
    std::atomic<int> hostNotes{0};
    Steinberg::Vst::ProcessContext processContext{};
    std::vector<IFxVST3View*> views;
    Vst3Automation automation;
};

// Speaker arrangement of the standard layout for a channel count; 0 for none.
Steinberg::Vst::SpeakerArrangement ArrangementForChannels(int channels);
