#include "framework/lv2/IFxLV2.h"

#include "framework/DenormalsOffScope.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>

namespace {

using Guard = std::lock_guard<platform::RecursiveLock>;

const void* FeatureData(const LV2_Feature* const* features, const char* uri)
{
    for (int i = 0; features && features[i]; ++i)
        if (features[i]->URI && std::strcmp(features[i]->URI, uri) == 0)
            return features[i]->data;
    return nullptr;
}

// The host's maximum block length from its options (an atom:Int or atom:Long), or 0 when it
// states none.
int64_t MaxBlockLength(const LV2_Options_Option* options, const LV2_URID_Map& map)
{
    if (!options)
        return 0;
    const LV2_URID maxBlock = map.map(map.handle, LV2_BUF_SIZE__maxBlockLength);
    const LV2_URID atomInt = map.map(map.handle, LV2_ATOM__Int);
    const LV2_URID atomLong = map.map(map.handle, LV2_ATOM__Long);
    for (const LV2_Options_Option* o = options; o->key != 0 || o->value; ++o) {
        if (o->key != maxBlock || !o->value)
            continue;
        if (o->type == atomInt && o->size == sizeof(int32_t)) {
            int32_t value = 0;
            std::memcpy(&value, o->value, sizeof value);
            return value;
        }
        if (o->type == atomLong && o->size == sizeof(int64_t)) {
            int64_t value = 0;
            std::memcpy(&value, o->value, sizeof value);
            return value;
        }
    }
    return 0;
}

}  // namespace

IFxLV2::IFxLV2(const IFxDeclaration& declaration)
    : IFxBase(declaration), inputs(std::make_unique<float*[]>(static_cast<size_t>(std::max(NumInputs(), 1)))),
      outputs(std::make_unique<float*[]>(static_cast<size_t>(std::max(NumOutputs(), 1)))),
      controls(std::make_unique<ControlPort[]>(static_cast<size_t>(NumParams() + 1)))
{
}

IFxLV2::~IFxLV2() = default;

bool IFxLV2::Instantiate(const char* pluginUri, double rate, const LV2_Feature* const* features)
{
    if (!std::isfinite(rate) || rate <= 0.0)
        return false;
    map = static_cast<const LV2_URID_Map*>(FeatureData(features, LV2_URID__map));
    if (map && !map->map)
        map = nullptr;
    int blockFrames = kUnboundedPieceFrames;
    if (map) {
        const auto* options = static_cast<const LV2_Options_Option*>(FeatureData(features, LV2_OPTIONS__options));
        if (const int64_t stated = MaxBlockLength(options, *map); stated > 0)
            blockFrames = static_cast<int>(std::min<int64_t>(stated, kMaxPieceFrames));
    }
    stateKey = std::string(pluginUri ? pluginUri : "") + "#state";
    // The effect starts from the parameters' values, as the VST3 binding's does when it registers
    // them.
    for (int i = 0; i < NumParams(); ++i)
        TakeEffectValue(i, GetParam(i)->Value());
    {
        Guard g(Lock());
        SetSampleRate(rate);
        ChangeBlockSize(blockFrames);
    }
    if (BlockSize() != blockFrames)
        return false;
    ConnectInputs(0, NumInputs(), false);
    ConnectOutputs(0, NumOutputs(), false);
    return true;
}

void IFxLV2::ConnectPort(uint32_t port, void* location)
{
    const auto in = static_cast<uint32_t>(NumInputs());
    const auto out = static_cast<uint32_t>(NumOutputs());
    if (port < in)
        inputs[port] = static_cast<float*>(location);
    else if (port < in + out)
        outputs[port - in] = static_cast<float*>(location);
    else if (port < PortCount())
        controls[port - FirstControlPort()].location = static_cast<const float*>(location);
}

void IFxLV2::Activate()
{
    SetProcessingStarted(false);
    // Activation starts the effect afresh, as a VST3 host's processing set-up does.
    Reset();
    OnActivate(true);
    framesSinceActivation = 0;
    SetAudioLive(true);
}

void IFxLV2::Deactivate()
{
    SetProcessingStarted(false);
    OnActivate(false);
    SetAudioLive(false);
}

bool IFxLV2::TakeChangedValue(ControlPort& port, float& value)
{
    if (!port.location)
        return false;
    value = *port.location;
    const auto bits = std::bit_cast<uint32_t>(value);
    if ((port.taken && bits == port.lastBits) || !std::isfinite(value))
        return false;
    port.lastBits = bits;
    port.taken = true;
    return true;
}

void IFxLV2::KeepPortValues()
{
    for (int i = 0; i <= NumParams(); ++i) {
        ControlPort& port = controls[static_cast<size_t>(i)];
        float value = 0.0f;
        if (port.location && std::isfinite(value = *port.location)) {
            port.lastBits = std::bit_cast<uint32_t>(value);
            port.taken = true;
        }
    }
}

void IFxLV2::ApplyControlPorts()
{
    // Each changed port is a host edit at the block's start: conformed to its parameter, shown
    // by the editor, and heard as a step once blocks are processed (at once before that).
    for (int i = 0; i < NumParams(); ++i) {
        float value = 0.0f;
        if (!TakeChangedValue(controls[static_cast<size_t>(i)], value))
            continue;
        IParamDef* param = GetParam(i);
        ApplyParamValue(i, param->Conform(value), StepOrAtOnce());
        PublishHostChange(i, param->Normalized());
    }
    float enabled = 0.0f;
    if (TakeChangedValue(controls[static_cast<size_t>(NumParams())], enabled))
        SetBypassed(!(enabled >= 0.5f));
}

void IFxLV2::Run(uint32_t frames)
{
    // No lock and no wait: the audio side holds the effect for the call. The claim only fails
    // while the UI side applies a change with audio not live (a host running an inactive
    // instance); that call passes its input through untouched by the effect.
    const DenormalsOffScope denormalsOff;
    if (!ClaimEffect(EffectHolder::AudioSide)) {
        ProcessInBlocks(frames, false);
        return;
    }
    ApplyPending(StepOrAtOnce());
    ApplyControlPorts();
    ProcessInBlocks(frames, true);
    if (frames > 0)
        SetProcessingStarted(true);
    framesSinceActivation += frames;
    ReleaseEffect();
}

void IFxLV2::BindSpan(uint32_t offset)
{
    const int in = NumInputs();
    const int out = NumOutputs();
    if (BindAllChannels(inputs.get(), in, outputs.get(), out, static_cast<int>(offset)))
        return;
    // Some port is not connected: a missing input reads silence, a missing output is written
    // nowhere the host sees.
    for (int c = 0; c < in; ++c) {
        float* host = inputs[static_cast<size_t>(c)];
        ConnectInputs(c, 1, host != nullptr);
        if (host) {
            float* at = host + offset;
            BindInputs(c, 1, &at);
        }
    }
    for (int c = 0; c < out; ++c) {
        float* host = outputs[static_cast<size_t>(c)];
        ConnectOutputs(c, 1, host != nullptr);
        if (host) {
            float* at = host + offset;
            BindOutputs(c, 1, &at);
        }
    }
}

void IFxLV2::ProcessInBlocks(uint32_t total, bool withEffect)
{
    const auto run = [this, withEffect](uint32_t offset, int frames) {
        BindSpan(offset);
        if (withEffect)
            ProcessWithBypass(frames, true);
        else
            CopyBypassed(frames, true);
    };
    if (total == 0) {
        run(0, 0);
        return;
    }
    const auto piece = static_cast<uint32_t>(BlockSize());
    for (uint32_t offset = 0; offset < total; offset += std::min(piece, total - offset))
        run(offset, static_cast<int>(std::min(piece, total - offset)));
}

int IFxLV2::SamplePosition() const { return static_cast<int>(static_cast<uint32_t>(framesSinceActivation)); }

const LV2_URID_Map* IFxLV2::MapFor(const LV2_Feature* const* features) const
{
    if (map)
        return map;
    const auto* offered = static_cast<const LV2_URID_Map*>(FeatureData(features, LV2_URID__map));
    return offered && offered->map ? offered : nullptr;
}

LV2_State_Status IFxLV2::SaveLv2State(LV2_State_Store_Function store, LV2_State_Handle handle,
                                      const LV2_Feature* const* features)
{
    const LV2_URID_Map* m = MapFor(features);
    if (!m)
        return LV2_STATE_ERR_NO_FEATURE;
    if (!store)
        return LV2_STATE_ERR_UNKNOWN;
    StateChunk chunk;
    {
        // A copy of the values as they stand together; the host stores it outside the lock.
        Guard g(Lock());
        if (!SaveState(chunk) || !chunk.PutInt32(Bypassed() ? 1 : 0))
            return LV2_STATE_ERR_UNKNOWN;
    }
    const LV2_URID key = m->map(m->handle, stateKey.c_str());
    const LV2_URID type = m->map(m->handle, LV2_ATOM__Chunk);
    return store(handle, key, chunk.Data(), static_cast<size_t>(chunk.Size()), type,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status IFxLV2::RestoreLv2State(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                                         const LV2_Feature* const* features)
{
    const LV2_URID_Map* m = MapFor(features);
    if (!m)
        return LV2_STATE_ERR_NO_FEATURE;
    if (!retrieve)
        return LV2_STATE_ERR_UNKNOWN;
    size_t size = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    const void* value = retrieve(handle, m->map(m->handle, stateKey.c_str()), &size, &type, &flags);
    if (!value)
        return LV2_STATE_ERR_NO_PROPERTY;
    const auto record = static_cast<size_t>(NumParams()) * sizeof(double);
    if (type != m->map(m->handle, LV2_ATOM__Chunk) || (size != record && size != record + sizeof(int32_t)))
        return LV2_STATE_ERR_BAD_TYPE;
    StateChunk chunk;
    if (!chunk.PutBytes(value, static_cast<int32_t>(size)))
        return LV2_STATE_ERR_UNKNOWN;
    // Checked whole before anything changes; the values are stored together and the effect takes
    // them at the next run's start (or here while audio is not live).
    Guard g(Lock());
    int32_t bypass = -1;
    if (CheckParamRecord(chunk, 0) != static_cast<int32_t>(record))
        return LV2_STATE_ERR_UNKNOWN;
    if (size > record && (chunk.GetInt32(bypass, static_cast<int32_t>(record)) < 0 || (bypass != 0 && bypass != 1)))
        return LV2_STATE_ERR_UNKNOWN;
    if (LoadState(chunk, 0) < 0)
        return LV2_STATE_ERR_UNKNOWN;
    if (bypass >= 0)
        SetBypassed(bypass != 0);
    RefreshEditorParams();
    KeepPortValues();
    return LV2_STATE_SUCCESS;
}
