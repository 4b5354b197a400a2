#include "ModuleFixture.h"

#include <algorithm>

namespace module_test {

vibrascend::host::BundleModule& Module()
{
    static vibrascend::host::BundleModule module(VIBRASCEND_TEST_BUNDLE);
    return module;
}

Instance::Instance(const std::string& hostName) : host_(hostName)
{
    IPluginFactory& factory = Module().Factory();
    PClassInfo info{};
    for (int32 i = 0; i < factory.countClasses(); ++i) {
        if (factory.getClassInfo(i, &info) != kResultOk || std::string(info.category) != kVstAudioEffectClass)
            continue;
        void* obj = nullptr;
        if (factory.createInstance(info.cid, IComponent::iid, &obj) == kResultOk)
            component_ = owned(static_cast<IComponent*>(obj));
        break;
    }
    if (!component_)
        return;
    component_->initialize(&host_);
    processor_ = FUnknownPtr<IAudioProcessor>(component_);
    controller_ = FUnknownPtr<IEditController>(component_);
    units_ = FUnknownPtr<IUnitInfo>(component_);
    if (controller_)
        controller_->setComponentHandler(&handler_);
}

Instance::~Instance()
{
    if (!component_)
        return;
    if (controller_)
        controller_->setComponentHandler(nullptr);
    component_->setActive(false);
    component_->terminate();
    units_ = nullptr;
    controller_ = nullptr;
    processor_ = nullptr;
    component_ = nullptr;
}

tresult Instance::Setup(double rate, int maxBlock, int32 sampleSize)
{
    ProcessSetup setup{kRealtime, sampleSize, maxBlock, rate};
    const tresult r = processor_->setupProcessing(setup);
    component_->setActive(true);
    processor_->setProcessing(true);
    return r;
}

void Instance::Automate(ParamID id, double normalized)
{
    vibrascend::host::ParameterChanges changes;
    changes.Add(id, normalized);
    ProcessData data{};
    data.symbolicSampleSize = kSample32;
    data.inputParameterChanges = &changes;
    processor_->process(data);
}

namespace {

template <typename Sample>
void RunBlocks(IAudioProcessor* processor, std::vector<std::vector<Sample>>& audio, int block,
               vibrascend::host::ParameterChanges* first, int32 sampleSize)
{
    const int channels = static_cast<int>(audio.size());
    const int total = static_cast<int>(audio[0].size());
    std::vector<Sample*> ptrs(static_cast<size_t>(channels));
    for (int offset = 0; offset < total; offset += block) {
        const int frames = std::min(block, total - offset);
        for (int c = 0; c < channels; ++c)
            ptrs[static_cast<size_t>(c)] = audio[static_cast<size_t>(c)].data() + offset;
        AudioBusBuffers bus{};
        bus.numChannels = channels;
        if constexpr (sizeof(Sample) == 4)
            bus.channelBuffers32 = ptrs.data();
        else
            bus.channelBuffers64 = ptrs.data();
        ProcessData data{};
        data.symbolicSampleSize = sampleSize;
        data.numSamples = frames;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &bus;
        data.outputs = &bus;
        data.inputParameterChanges = offset == 0 ? first : nullptr;
        ASSERT_EQ(processor->process(data), kResultOk);
    }
}

} // namespace

void Instance::Run32(std::vector<std::vector<float>>& audio, int block, vibrascend::host::ParameterChanges* first)
{
    RunBlocks(processor_.get(), audio, block, first, kSample32);
}

void Instance::Run64(std::vector<std::vector<double>>& audio, int block, vibrascend::host::ParameterChanges* first)
{
    RunBlocks(processor_.get(), audio, block, first, kSample64);
}

} // namespace module_test
