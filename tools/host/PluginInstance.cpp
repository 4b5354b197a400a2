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
IPtr<Interface> QueryFrom(FUnknown* object)
{
    Interface* result = nullptr;
    if (object == nullptr || object->queryInterface(Interface::iid, reinterpret_cast<void**>(&result)) != kResultOk) {
        return nullptr;
    }
    return owned(result);
}

std::string FixedText(const char* text, std::size_t capacity) { return std::string(text, strnlen(text, capacity)); }

}  // namespace

PluginInstance::PluginInstance(const std::filesystem::path& bundleOrLibrary, std::string hostName)
    : module(std::make_unique<BundleModule>(bundleOrLibrary)), hostApplication(std::move(hostName))
{
    try {
        IPluginFactory& factory = module->Factory();
        PClassInfo info{};
        bool found = false;
        const int32 classes = factory.countClasses();
        for (int32 i = 0; i < classes && !found; ++i) {
            found = factory.getClassInfo(i, &info) == kResultOk &&
                    FixedText(info.category, sizeof info.category) == kVstAudioEffectClass;
        }
        if (!found) {
            throw HostError(module->LibraryPath().string() + " offers no \"" + kVstAudioEffectClass + "\"");
        }
        className = FixedText(info.name, sizeof info.name);
        Vst::IComponent* created = nullptr;
        if (factory.createInstance(info.cid, Vst::IComponent::iid, reinterpret_cast<void**>(&created)) != kResultOk ||
            created == nullptr) {
            throw HostError("the plug-in factory could not create \"" + className + "\"");
        }
        component = owned(created);
        processor = QueryFrom<Vst::IAudioProcessor>(component);
        if (!processor) {
            throw HostError("\"" + className + "\" is not an audio processor");
        }
        if (component->initialize(&hostApplication) != kResultOk) {
            throw HostError("\"" + className + "\" failed to initialize");
        }
        initialized = true;
        controller = QueryFrom<Vst::IEditController>(component);
        if (!controller) {
            throw HostError("\"" + className + "\" has no edit controller on its component");
        }
        controller->setComponentHandler(&handler);
        unitInfo = QueryFrom<Vst::IUnitInfo>(controller);
    } catch (...) {
        if (controller)
            controller->setComponentHandler(nullptr);
        if (initialized)
            component->terminate();
        throw;
    }
}

PluginInstance::~PluginInstance()
{
    StopProcessing();
    if (controller)
        controller->setComponentHandler(nullptr);
    if (initialized)
        component->terminate();
    unitInfo = nullptr;
    controller = nullptr;
    processor = nullptr;
    component = nullptr;
    module.reset();
}

std::vector<ParameterDescription> PluginInstance::Parameters() const
{
    std::vector<ParameterDescription> result;
    const int32 count = controller->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        Vst::ParameterInfo info{};
        if (controller->getParameterInfo(i, info) != kResultOk)
            continue;
        result.push_back(
            {info.id, ToUtf8(info.title), ToUtf8(info.units), info.stepCount, info.defaultNormalizedValue, info.flags});
    }
    return result;
}

std::vector<ProgramList> PluginInstance::ProgramLists() const
{
    std::vector<ProgramList> result;
    if (!unitInfo)
        return result;
    const int32 lists = unitInfo->getProgramListCount();
    for (int32 i = 0; i < lists; ++i) {
        Vst::ProgramListInfo info{};
        if (unitInfo->getProgramListInfo(i, info) != kResultOk)
            continue;
        ProgramList list{info.id, ToUtf8(info.name), {}};
        const int32 programs = std::clamp(info.programCount, 0, kMaxProgramsListed);
        for (int32 k = 0; k < programs; ++k) {
            Vst::String128 name{};
            const bool named = unitInfo->getProgramName(info.id, k, name) == kResultOk;
            list.programNames.push_back(named ? ToUtf8(name) : std::string());
        }
        result.push_back(std::move(list));
    }
    return result;
}

std::optional<std::string> PluginInstance::DisplayText(Vst::ParamID id, double normalized) const
{
    Vst::String128 text{};
    if (controller->getParamStringByValue(id, normalized, text) != kResultOk)
        return std::nullopt;
    return ToUtf8(text);
}

std::optional<double> PluginInstance::NormalizedFromText(Vst::ParamID id, const std::string& text) const
{
    Vst::String128 wide{};
    ToString128(text, wide);
    Vst::ParamValue value = 0.0;
    if (controller->getParamValueByString(id, wide, value) != kResultOk)
        return std::nullopt;
    return value;
}

double PluginInstance::PlainValue(Vst::ParamID id, double normalized) const
{
    return controller->normalizedParamToPlain(id, normalized);
}

double PluginInstance::NormalizedValue(Vst::ParamID id) const { return controller->getParamNormalized(id); }

std::vector<std::uint8_t> PluginInstance::SaveState() const
{
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    if (component->getState(stream) != kResultOk) {
        throw HostError("the plug-in could not save its state");
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(stream->getData());
    return std::vector<std::uint8_t>(data, data + stream->getSize());
}

void PluginInstance::LoadState(std::span<const std::uint8_t> state)
{
    std::vector<std::uint8_t> copy(state.begin(), state.end());
    IPtr<MemoryStream> stream = owned(new MemoryStream(copy.data(), static_cast<TSize>(copy.size())));
    if (component->setState(stream) != kResultOk) {
        throw HostError("the plug-in did not accept the state");
    }
}

void PluginInstance::StartProcessing(const ProcessingSetup& requested)
{
    if (requested.channels != 1 && requested.channels != 2) {
        throw std::invalid_argument("PluginInstance::startProcessing needs 1 or 2 channels");
    }
    const int32 sampleSize = requested.doublePrecision ? Vst::kSample64 : Vst::kSample32;
    if (processor->canProcessSampleSize(sampleSize) != kResultTrue) {
        throw HostError(std::string("the plug-in cannot process ") + (requested.doublePrecision ? "64" : "32") +
                        "-bit samples");
    }
    Vst::SpeakerArrangement arrangement = requested.channels == 1 ? Vst::SpeakerArr::kMono : Vst::SpeakerArr::kStereo;
    Vst::SpeakerArrangement outputArrangement = arrangement;
    if (processor->setBusArrangements(&arrangement, 1, &outputArrangement, 1) != kResultTrue) {
        throw HostError(std::string("the plug-in does not accept ") + (requested.channels == 1 ? "mono" : "stereo") +
                        " busses");
    }
    component->activateBus(Vst::kAudio, Vst::kInput, 0, true);
    component->activateBus(Vst::kAudio, Vst::kOutput, 0, true);
    Vst::ProcessSetup processSetup{Vst::kOffline, sampleSize, requested.maxBlock, requested.sampleRate};
    if (processor->setupProcessing(processSetup) != kResultOk) {
        throw HostError("the plug-in refused to process at " + std::to_string(requested.sampleRate) + " Hz");
    }
    if (component->setActive(true) != kResultOk) {
        throw HostError("the plug-in could not be activated");
    }
    active = true;
    const tresult started = processor->setProcessing(true);
    if (started != kResultOk && started != kNotImplemented) {
        throw HostError("the plug-in could not start processing");
    }
    processing = true;
    setup = requested;
    context = {};
    context.state =
        Vst::ProcessContext::kPlaying | Vst::ProcessContext::kTempoValid | Vst::ProcessContext::kTimeSigValid;
    context.sampleRate = requested.sampleRate;
    context.tempo = 120.0;
    context.timeSigNumerator = 4;
    context.timeSigDenominator = 4;
}

void PluginInstance::StopProcessing()
{
    if (processing)
        processor->setProcessing(false);
    if (active)
        component->setActive(false);
    processing = false;
    active = false;
}

void PluginInstance::Process(std::span<float* const> inputs, std::span<float* const> outputs, int frames,
                             ParameterChanges* changes)
{
    if (setup.doublePrecision)
        throw std::logic_error("32-bit process after a 64-bit set-up");
    ProcessBlock(inputs, outputs, frames, changes);
}

void PluginInstance::Process(std::span<double* const> inputs, std::span<double* const> outputs, int frames,
                             ParameterChanges* changes)
{
    if (!setup.doublePrecision)
        throw std::logic_error("64-bit process after a 32-bit set-up");
    ProcessBlock(inputs, outputs, frames, changes);
}

template <typename Sample>
void PluginInstance::ProcessBlock(std::span<Sample* const> inputs, std::span<Sample* const> outputs, int frames,
                                  ParameterChanges* changes)
{
    const auto channels = static_cast<std::size_t>(setup.channels);
    if (!processing || frames < 0 || frames > setup.maxBlock || inputs.size() < channels || outputs.size() < channels) {
        throw std::logic_error("PluginInstance::process outside its set-up");
    }
    std::array<Sample*, 2> in{};
    std::array<Sample*, 2> out{};
    std::copy_n(inputs.begin(), channels, in.begin());
    std::copy_n(outputs.begin(), channels, out.begin());
    Vst::AudioBusBuffers inputBus{};
    Vst::AudioBusBuffers outputBus{};
    inputBus.numChannels = setup.channels;
    outputBus.numChannels = setup.channels;
    if constexpr (std::is_same_v<Sample, float>) {
        inputBus.channelBuffers32 = in.data();
        outputBus.channelBuffers32 = out.data();
    } else {
        inputBus.channelBuffers64 = in.data();
        outputBus.channelBuffers64 = out.data();
    }
    outputChanges.Clear();
    Vst::ProcessData data;
    data.processMode = Vst::kOffline;
    data.symbolicSampleSize = setup.doublePrecision ? Vst::kSample64 : Vst::kSample32;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inputBus;
    data.outputs = &outputBus;
    data.inputParameterChanges = changes;
    data.outputParameterChanges = &outputChanges;
    data.processContext = &context;
    if (processor->process(data) != kResultOk) {
        throw HostError("the plug-in failed to process a block");
    }
    context.projectTimeSamples += frames;
    context.continousTimeSamples += frames;
}

}  // namespace vibrascend::host
