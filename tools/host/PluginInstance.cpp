#include "PluginInstance.h"

#include "HostError.h"
#include "TextConvert.h"

#include <public.sdk/source/common/memorystream.h>
#include <pluginterfaces/vst/vstspeaker.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace vibrascend::host {

using namespace Steinberg;

namespace {

constexpr int32 kMaxProgramsListed = 100000;

template <typename Interface>
IPtr<Interface> QueryFrom(FUnknown* object) {
    Interface* result = nullptr;
    if (object == nullptr || object->queryInterface(Interface::iid, reinterpret_cast<void**>(&result)) != kResultOk) {
        return nullptr;
    }
    return owned(result);
}

std::string FixedText(const char* text, std::size_t capacity) {
    return std::string(text, strnlen(text, capacity));
}

}  // namespace

PluginInstance::PluginInstance(const std::filesystem::path& bundleOrLibrary, std::string hostName)
    : module_(std::make_unique<BundleModule>(bundleOrLibrary)), hostApplication_(std::move(hostName)) {
    try {
        IPluginFactory& factory = module_->Factory();
        PClassInfo info{};
        bool found = false;
        const int32 classes = factory.countClasses();
        for (int32 i = 0; i < classes && !found; ++i) {
            found = factory.getClassInfo(i, &info) == kResultOk &&
                    FixedText(info.category, sizeof info.category) == kVstAudioEffectClass;
        }
        if (!found) {
            throw HostError(module_->LibraryPath().string() + " offers no \"" + kVstAudioEffectClass + "\"");
        }
        className_ = FixedText(info.name, sizeof info.name);
        Vst::IComponent* component = nullptr;
        if (factory.createInstance(info.cid, Vst::IComponent::iid, reinterpret_cast<void**>(&component)) != kResultOk ||
            component == nullptr) {
            throw HostError("the plug-in factory could not create \"" + className_ + "\"");
        }
        component_ = owned(component);
        processor_ = QueryFrom<Vst::IAudioProcessor>(component_);
        if (!processor_) {
            throw HostError("\"" + className_ + "\" is not an audio processor");
        }
        if (component_->initialize(&hostApplication_) != kResultOk) {
            throw HostError("\"" + className_ + "\" failed to initialize");
        }
        initialized_ = true;
        controller_ = QueryFrom<Vst::IEditController>(component_);
        if (!controller_) {
            throw HostError("\"" + className_ + "\" has no edit controller on its component");
        }
        controller_->setComponentHandler(&handler_);
        unitInfo_ = QueryFrom<Vst::IUnitInfo>(controller_);
    } catch (...) {
        if (controller_) controller_->setComponentHandler(nullptr);
        if (initialized_) component_->terminate();
        throw;
    }
}

PluginInstance::~PluginInstance() {
    StopProcessing();
    if (controller_) controller_->setComponentHandler(nullptr);
    if (initialized_) component_->terminate();
    unitInfo_ = nullptr;
    controller_ = nullptr;
    processor_ = nullptr;
    component_ = nullptr;
    module_.reset();
}

std::vector<ParameterDescription> PluginInstance::Parameters() const {
    std::vector<ParameterDescription> result;
    const int32 count = controller_->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        Vst::ParameterInfo info{};
        if (controller_->getParameterInfo(i, info) != kResultOk) continue;
        result.push_back({info.id, ToUtf8(info.title), ToUtf8(info.units), info.stepCount,
                          info.defaultNormalizedValue, info.flags});
    }
    return result;
}

std::vector<ProgramList> PluginInstance::ProgramLists() const {
    std::vector<ProgramList> result;
    if (!unitInfo_) return result;
    const int32 lists = unitInfo_->getProgramListCount();
    for (int32 i = 0; i < lists; ++i) {
        Vst::ProgramListInfo info{};
        if (unitInfo_->getProgramListInfo(i, info) != kResultOk) continue;
        ProgramList list{info.id, ToUtf8(info.name), {}};
        const int32 programs = std::clamp(info.programCount, 0, kMaxProgramsListed);
        for (int32 k = 0; k < programs; ++k) {
            Vst::String128 name{};
            const bool named = unitInfo_->getProgramName(info.id, k, name) == kResultOk;
            list.programNames.push_back(named ? ToUtf8(name) : std::string());
        }
        result.push_back(std::move(list));
    }
    return result;
}

std::optional<std::string> PluginInstance::DisplayText(Vst::ParamID id, double normalized) const {
    Vst::String128 text{};
    if (controller_->getParamStringByValue(id, normalized, text) != kResultOk) return std::nullopt;
    return ToUtf8(text);
}

std::optional<double> PluginInstance::NormalizedFromText(Vst::ParamID id, const std::string& text) const {
    Vst::String128 wide{};
    ToString128(text, wide);
    Vst::ParamValue value = 0.0;
    if (controller_->getParamValueByString(id, wide, value) != kResultOk) return std::nullopt;
    return value;
}

double PluginInstance::PlainValue(Vst::ParamID id, double normalized) const {
    return controller_->normalizedParamToPlain(id, normalized);
}

double PluginInstance::NormalizedValue(Vst::ParamID id) const {
    return controller_->getParamNormalized(id);
}

std::vector<std::uint8_t> PluginInstance::SaveState() const {
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    if (component_->getState(stream) != kResultOk) {
        throw HostError("the plug-in could not save its state");
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(stream->getData());
    return std::vector<std::uint8_t>(data, data + stream->getSize());
}

void PluginInstance::LoadState(std::span<const std::uint8_t> state) {
    std::vector<std::uint8_t> copy(state.begin(), state.end());
    IPtr<MemoryStream> stream = owned(new MemoryStream(copy.data(), static_cast<TSize>(copy.size())));
    if (component_->setState(stream) != kResultOk) {
        throw HostError("the plug-in did not accept the state");
    }
}

void PluginInstance::StartProcessing(const ProcessingSetup& setup) {
    if (setup.channels != 1 && setup.channels != 2) {
        throw std::invalid_argument("PluginInstance::startProcessing needs 1 or 2 channels");
    }
    const int32 sampleSize = setup.doublePrecision ? Vst::kSample64 : Vst::kSample32;
    if (processor_->canProcessSampleSize(sampleSize) != kResultTrue) {
        throw HostError(std::string("the plug-in cannot process ") + (setup.doublePrecision ? "64" : "32") + "-bit samples");
    }
    Vst::SpeakerArrangement arrangement = setup.channels == 1 ? Vst::SpeakerArr::kMono : Vst::SpeakerArr::kStereo;
    Vst::SpeakerArrangement outputArrangement = arrangement;
    if (processor_->setBusArrangements(&arrangement, 1, &outputArrangement, 1) != kResultTrue) {
        throw HostError(std::string("the plug-in does not accept ") + (setup.channels == 1 ? "mono" : "stereo") + " busses");
    }
    component_->activateBus(Vst::kAudio, Vst::kInput, 0, true);
    component_->activateBus(Vst::kAudio, Vst::kOutput, 0, true);
    Vst::ProcessSetup processSetup{Vst::kOffline, sampleSize, setup.maxBlock, setup.sampleRate};
    if (processor_->setupProcessing(processSetup) != kResultOk) {
        throw HostError("the plug-in refused to process at " + std::to_string(setup.sampleRate) + " Hz");
    }
    if (component_->setActive(true) != kResultOk) {
        throw HostError("the plug-in could not be activated");
    }
    active_ = true;
    const tresult started = processor_->setProcessing(true);
    if (started != kResultOk && started != kNotImplemented) {
        throw HostError("the plug-in could not start processing");
    }
    processing_ = true;
    setup_ = setup;
    context_ = {};
    context_.state = Vst::ProcessContext::kPlaying | Vst::ProcessContext::kTempoValid | Vst::ProcessContext::kTimeSigValid;
    context_.sampleRate = setup.sampleRate;
    context_.tempo = 120.0;
    context_.timeSigNumerator = 4;
    context_.timeSigDenominator = 4;
}

void PluginInstance::StopProcessing() {
    if (processing_) processor_->setProcessing(false);
    if (active_) component_->setActive(false);
    processing_ = false;
    active_ = false;
}

void PluginInstance::Process(std::span<float* const> inputs, std::span<float* const> outputs, int frames,
                             ParameterChanges* changes) {
    if (setup_.doublePrecision) throw std::logic_error("32-bit process after a 64-bit set-up");
    ProcessBlock(inputs, outputs, frames, changes);
}

void PluginInstance::Process(std::span<double* const> inputs, std::span<double* const> outputs, int frames,
                             ParameterChanges* changes) {
    if (!setup_.doublePrecision) throw std::logic_error("64-bit process after a 32-bit set-up");
    ProcessBlock(inputs, outputs, frames, changes);
}

template <typename Sample>
void PluginInstance::ProcessBlock(std::span<Sample* const> inputs, std::span<Sample* const> outputs, int frames,
                                  ParameterChanges* changes) {
    const auto channels = static_cast<std::size_t>(setup_.channels);
    if (!processing_ || frames < 0 || frames > setup_.maxBlock || inputs.size() < channels || outputs.size() < channels) {
        throw std::logic_error("PluginInstance::process outside its set-up");
    }
    std::array<Sample*, 2> in{};
    std::array<Sample*, 2> out{};
    std::copy_n(inputs.begin(), channels, in.begin());
    std::copy_n(outputs.begin(), channels, out.begin());
    Vst::AudioBusBuffers inputBus{};
    Vst::AudioBusBuffers outputBus{};
    inputBus.numChannels = setup_.channels;
    outputBus.numChannels = setup_.channels;
    if constexpr (std::is_same_v<Sample, float>) {
        inputBus.channelBuffers32 = in.data();
        outputBus.channelBuffers32 = out.data();
    } else {
        inputBus.channelBuffers64 = in.data();
        outputBus.channelBuffers64 = out.data();
    }
    outputChanges_.Clear();
    Vst::ProcessData data;
    data.processMode = Vst::kOffline;
    data.symbolicSampleSize = setup_.doublePrecision ? Vst::kSample64 : Vst::kSample32;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inputBus;
    data.outputs = &outputBus;
    data.inputParameterChanges = changes;
    data.outputParameterChanges = &outputChanges_;
    data.processContext = &context_;
    if (processor_->process(data) != kResultOk) {
        throw HostError("the plug-in failed to process a block");
    }
    context_.projectTimeSamples += frames;
    context_.continousTimeSamples += frames;
}

}  // namespace vibrascend::host
