// One instance of the bundle's audio effect, driven through the VST3 interfaces like a DAW does.
#pragma once

#include "BundleModule.h"
#include "ComponentHandler.h"
#include "HostApplication.h"
#include "ParameterChanges.h"

#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivsteditcontroller.h>
#include <pluginterfaces/vst/ivstprocesscontext.h>
#include <pluginterfaces/vst/ivstunits.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vibrascend::host {

struct ParameterDescription {
    Steinberg::Vst::ParamID id = 0;
    std::string title;
    std::string units;
    Steinberg::int32 stepCount = 0;
    double defaultNormalized = 0.0;
    Steinberg::int32 flags = 0;
};

struct ProgramList {
    Steinberg::Vst::ProgramListID id = 0;
    std::string name;
    std::vector<std::string> programNames;  // one per slot; unnamed slots are empty
};

struct ProcessingSetup {
    double sampleRate = 48000.0;
    int maxBlock = 512;
    int channels = 2;
    bool doublePrecision = false;
};

// Owns the loaded module, the host objects and the plug-in's interfaces, and tears them down
// in the order hosts use: processing off, inactive, terminate, release, module exit.
// Throws HostError when the plug-in refuses a step a render needs.
class PluginInstance {
public:
    PluginInstance(const std::filesystem::path& bundleOrLibrary, std::string hostName);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    const std::string& ClassName() const { return className; }
    std::vector<ParameterDescription> Parameters() const;
    // The program lists IUnitInfo reports; empty when the plug-in has none.
    std::vector<ProgramList> ProgramLists() const;
    std::optional<std::string> DisplayText(Steinberg::Vst::ParamID id, double normalized) const;
    // The plug-in's own conversion of typed text to a normalized value.
    std::optional<double> NormalizedFromText(Steinberg::Vst::ParamID id, const std::string& text) const;
    double PlainValue(Steinberg::Vst::ParamID id, double normalized) const;
    double NormalizedValue(Steinberg::Vst::ParamID id) const;

    std::vector<std::uint8_t> SaveState() const;
    // Throws HostError when the plug-in does not accept the state.
    void LoadState(std::span<const std::uint8_t> state);

    // setBusArrangements, setupProcessing, setActive(true), setProcessing(true).
    void StartProcessing(const ProcessingSetup& setup);
    // One process call over `frames` samples; `changes` are delivered with this block.
    void Process(std::span<float* const> inputs, std::span<float* const> outputs, int frames,
                 ParameterChanges* changes);
    void Process(std::span<double* const> inputs, std::span<double* const> outputs, int frames,
                 ParameterChanges* changes);
    void StopProcessing();

    const RecordingComponentHandler& ComponentHandler() const { return handler; }
    // The loader's handle of the plug-in's library (the module handle on Windows).
    void* ModuleHandle() const { return module->NativeHandle(); }
    // The controller, for opening its editor view.
    Steinberg::Vst::IEditController* EditController() const { return controller.get(); }

private:
    template <typename Sample>
    void ProcessBlock(std::span<Sample* const> inputs, std::span<Sample* const> outputs, int frames,
                      ParameterChanges* changes);

    std::unique_ptr<BundleModule> module;
    HostApplication hostApplication;
    RecordingComponentHandler handler;
    ParameterChanges outputChanges;
    Steinberg::IPtr<Steinberg::Vst::IComponent> component;
    Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> processor;
    Steinberg::IPtr<Steinberg::Vst::IEditController> controller;
    Steinberg::IPtr<Steinberg::Vst::IUnitInfo> unitInfo;
    std::string className;
    ProcessingSetup setup;
    Steinberg::Vst::ProcessContext context{};
    bool initialized = false;
    bool active = false;
    bool processing = false;
};

}  // namespace vibrascend::host
