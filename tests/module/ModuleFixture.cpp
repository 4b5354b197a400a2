#include "ModuleFixture.h"

#include <algorithm>

namespace module_test {

vibrascend::host::BundleModule& Module()
{
    static vibrascend::host::BundleModule module(VIBRASCEND_TEST_BUNDLE);
    return module;
}

Instance::Instance(const std::string& hostName) : host(hostName)
{
    IPluginFactory& factory = Module().Factory();
    PClassInfo info{};
    for (int32 i = 0; i < factory.countClasses(); ++i) {
        if (factory.getClassInfo(i, &info) != kResultOk || std::string(info.category) != kVstAudioEffectClass)
            continue;
        void* obj = nullptr;
        if (factory.createInstance(info.cid, IComponent::iid, &obj) == kResultOk)
            component = owned(static_cast<IComponent*>(obj));
        break;
    }
    if (!component)
        return;
    component->initialize(&host);
    processor = FUnknownPtr<IAudioProcessor>(component);
    controller = FUnknownPtr<IEditController>(component);
    units = FUnknownPtr<IUnitInfo>(component);
    if (controller)
        controller->setComponentHandler(&handler);
}

Instance::~Instance()
{
    if (!component)
        return;
    if (controller)
        controller->setComponentHandler(nullptr);
    component->setActive(false);
    component->terminate();
    units = nullptr;
    controller = nullptr;
    processor = nullptr;
    component = nullptr;
}

tresult Instance::Setup(double rate, int maxBlock, int32 sampleSize)
{
    ProcessSetup setup{kRealtime, sampleSize, maxBlock, rate};
    const tresult r = processor->setupProcessing(setup);
    component->setActive(true);
    processor->setProcessing(true);
    return r;
}

void Instance::Automate(ParamID id, double normalized)
{
    vibrascend::host::ParameterChanges changes;
    changes.Add(id, normalized);
    ProcessData data{};
    data.symbolicSampleSize = kSample32;
    data.inputParameterChanges = &changes;
    processor->process(data);
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

}  // namespace

void Instance::Run32(std::vector<std::vector<float>>& audio, int block, vibrascend::host::ParameterChanges* first)
{
    RunBlocks(processor.get(), audio, block, first, kSample32);
}

void Instance::Run64(std::vector<std::vector<double>>& audio, int block, vibrascend::host::ParameterChanges* first)
{
    RunBlocks(processor.get(), audio, block, first, kSample64);
}

}  // namespace module_test
