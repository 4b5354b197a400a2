#include "FuzzEffect.h"

#include "effect/Quantise.h"

#include "public.sdk/source/common/memorystream.h"

#include <array>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A stream holding a copy of the bytes, positioned at its start.
IPtr<MemoryStream> StreamOf(std::span<const std::uint8_t> bytes)
{
    auto stream = owned(new MemoryStream);
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    int32 written = 0;
    if (!copy.empty())
        stream->write(copy.data(), static_cast<int32>(copy.size()), &written);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

}  // namespace

FuzzEffect::FuzzEffect() : IFxBase(Declaration())
{
    initialize(nullptr);
    ProcessSetup setup{kRealtime, kSample32, kBlockFrames, 48000.0};
    setupProcessing(setup);
    setActive(true);
    setProcessing(true);
}

std::vector<std::uint8_t> FuzzEffect::State()
{
    MemoryStream stream;
    if (static_cast<IComponent*>(this)->getState(&stream) != kResultOk)
        return {};
    int64 size = 0;
    stream.seek(0, IBStream::kIBSeekEnd, &size);
    const auto* data = reinterpret_cast<const std::uint8_t*>(stream.getData());
    return std::vector<std::uint8_t>(data, data + size);
}

tresult FuzzEffect::SetState(std::span<const std::uint8_t> bytes)
{
    return static_cast<IComponent*>(this)->setState(StreamOf(bytes));
}

tresult FuzzEffect::SetComponentState(std::span<const std::uint8_t> bytes)
{
    return static_cast<IEditController*>(this)->setComponentState(StreamOf(bytes));
}

bool FuzzEffect::ProcessBlockOfTone()
{
    std::array<std::array<float, kBlockFrames>, 2> in{};
    std::array<std::array<float, kBlockFrames>, 2> out{};
    for (int i = 0; i < kBlockFrames; ++i) {
        in[0][static_cast<size_t>(i)] = static_cast<float>(0.5 * std::sin(0.2 * i));
        in[1][static_cast<size_t>(i)] = static_cast<float>(0.5 * std::cos(0.3 * i));
    }
    float* inPtrs[2] = {in[0].data(), in[1].data()};
    float* outPtrs[2] = {out[0].data(), out[1].data()};
    AudioBusBuffers inBus{};
    inBus.numChannels = 2;
    inBus.channelBuffers32 = inPtrs;
    AudioBusBuffers outBus{};
    outBus.numChannels = 2;
    outBus.channelBuffers32 = outPtrs;
    ProcessData data{};
    data.symbolicSampleSize = kSample32;
    data.numSamples = kBlockFrames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    if (process(data) != kResultOk)
        return false;
    for (const auto& channel : out)
        for (float sample : channel)
            if (!std::isfinite(sample))
                return false;
    return true;
}

bool FuzzEffect::Usable(int index, double value) const
{
    const IParamDef* param = GetParam(index);
    if (!std::isfinite(value) || value < param->Min() || value > param->Max())
        return false;
    return param->Kind() == kParamDouble || std::floor(value / param->Step() + 0.5) * param->Step() == value;
}

bool FuzzEffect::ValuesUsable() const
{
    for (int i = 0; i < NumParams(); ++i)
        if (!Usable(i, GetParam(i)->Value()))
            return false;
    return true;
}

bool FuzzEffect::PresetValuesUsable(int slot) const
{
    const StateChunk& chunk = presets.Get(slot)->chunk;
    if (chunk.Size() == 0)
        return true;
    if (chunk.Size() != NumParams() * static_cast<int32_t>(sizeof(double)))
        return false;
    for (int i = 0; i < NumParams(); ++i) {
        double value = 0.0;
        chunk.GetDouble(value, i * static_cast<int32_t>(sizeof(double)));
        if (!Usable(i, value))
            return false;
    }
    return true;
}

bool FuzzEffect::EffectMatchesParams() const
{
    for (int i = 0; i < NumParams(); ++i)
        if (CachedParam(i) != QuantiseParam(i, GetParam(i)->Value()))
            return false;
    return true;
}

bool FuzzEffect::EditorMatchesParams() const
{
    for (int i = 0; i < NumParams(); ++i)
        if (HostChangeValue(i) != GetParam(i)->Normalized())
            return false;
    return true;
}
