// One object that is at once the VST3 component, audio processor and edit controller.
// Component and controller state are kept apart: each side has its own state hooks.
#pragma once

#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

namespace Steinberg::Vst {

// IComponent's state calls have the same signature as IEditController's; these two shims give
// each side a name of its own so that one object can answer both differently.
class ComponentStateFace : public IComponent {
public:
    tresult PLUGIN_API setState(IBStream* state) final { return readComponentState(state); }
    tresult PLUGIN_API getState(IBStream* state) final { return writeComponentState(state); }

protected:
    virtual tresult readComponentState(IBStream* state) = 0;
    virtual tresult writeComponentState(IBStream* state) = 0;
};

class ControllerStateFace : public EditController {
public:
    tresult PLUGIN_API setState(IBStream* state) final { return readControllerState(state); }
    tresult PLUGIN_API getState(IBStream* state) final { return writeControllerState(state); }

protected:
    virtual tresult readControllerState(IBStream*) { return kResultOk; }
    virtual tresult writeControllerState(IBStream*) { return kResultOk; }
};

class SingleComponentEffect : public ControllerStateFace, public ComponentStateFace, public IAudioProcessor {
public:
    SingleComponentEffect();

    // Bus management for subclasses.
    AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arr, BusType type = kMain,
                            int32 flags = BusInfo::kDefaultActive);
    AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType type = kMain,
                             int32 flags = BusInfo::kDefaultActive);
    EventBus* addEventInput(const TChar* name, int32 channels = 16, BusType type = kMain,
                            int32 flags = BusInfo::kDefaultActive);
    AudioBus* getAudioInput(int32 index);
    AudioBus* getAudioOutput(int32 index);
    tresult removeAudioBusses();

    // IPluginBase
    tresult PLUGIN_API initialize(FUnknown* context) override;
    tresult PLUGIN_API terminate() override;

    // IComponent
    tresult PLUGIN_API getControllerClassId(TUID classID) override;
    tresult PLUGIN_API setIoMode(IoMode mode) override;
    int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) override;
    tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& info) override;
    tresult PLUGIN_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) override;
    tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) override;
    tresult PLUGIN_API setActive(TBool state) override;

    // IAudioProcessor
    tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                          int32 numOuts) override;
    tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) override;
    tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) override;
    uint32 PLUGIN_API getLatencySamples() override;
    tresult PLUGIN_API setupProcessing(ProcessSetup& setup) override;
    tresult PLUGIN_API setProcessing(TBool state) override;
    tresult PLUGIN_API process(ProcessData& data) override;
    uint32 PLUGIN_API getTailSamples() override;

    OBJ_METHODS(SingleComponentEffect, EditController)
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    REFCOUNT_METHODS(EditController)

protected:
    tresult readComponentState(IBStream*) override { return kNotImplemented; }
    tresult writeComponentState(IBStream*) override { return kNotImplemented; }
    BusList* getBusList(MediaType type, BusDirection dir);

    ProcessSetup processSetup{};
    BusList audioInputs;
    BusList audioOutputs;
    BusList eventInputs;
    BusList eventOutputs;
};

}  // namespace Steinberg::Vst
