// The LV2 binding of the plug-in base: one object per LV2 plug-in instance. It turns the host's
// ports into the base's channels and parameter changes, activation into live processing, and the
// state interface into the component state the VST3 binding keeps, so that both formats sound the
// same for the same input, settings and block plan. A plug-in class derives from it and from its
// effect, both sharing the one plug-in base (a virtual base, built by the plug-in class).
//
// Ports, in index order: one audio input per input channel, one audio output per output channel,
// one control input per parameter (plain units), and the host's `enabled` switch (0 bypassed).
#pragma once

#include "framework/IFxBase.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <memory>
#include <string>

class IFxLV2 : public virtual IFxBase {
public:
    // Frames per piece of a host block when the host states no maximum block length.
    static constexpr int kUnboundedPieceFrames = 4096;
    // The largest piece taken from a host's stated maximum block length.
    static constexpr int kMaxPieceFrames = 1 << 16;

    explicit IFxLV2(const IFxDeclaration& declaration);
    ~IFxLV2() override;

    // Prepares the instance once its effect is built: the sample rate, the block size (the host's
    // maxBlockLength option when it offers urid:map and options, else kUnboundedPieceFrames), the
    // effect's first parameter values. `pluginUri` names the state key `<pluginUri>#state`. False
    // for a rate that is not a positive finite number or buffers that cannot be had.
    bool Instantiate(const char* pluginUri, double rate, const LV2_Feature* const* features);

    uint32_t FirstControlPort() const { return static_cast<uint32_t>(NumInputs() + NumOutputs()); }
    uint32_t EnabledPort() const { return FirstControlPort() + static_cast<uint32_t>(NumParams()); }
    uint32_t PortCount() const { return EnabledPort() + 1; }
    // A port index outside PortCount() is ignored; a null location disconnects the port.
    void ConnectPort(uint32_t port, void* location);

    // Audio is live while active; nothing is smoothed in the first run after activation.
    void Activate();
    void Deactivate();
    // Processes one host block of any length (after a successful Instantiate), in pieces of at
    // most BlockSize() frames. Takes no
    // lock, allocates nothing: first the UI side's handed-over changes, then every control port
    // whose value changed since the last run (the first run takes all), then the audio.
    void Run(uint32_t frames);

    // The state interface. The record is the VST3 component state: one little-endian double per
    // parameter and the bypass word (1 bypassed), stored as atom:Chunk under `<pluginUri>#state`.
    // Without urid:map (from instantiation or the call's features) both answer
    // LV2_STATE_ERR_NO_FEATURE. Restore takes the record whole or changes nothing: no property
    // LV2_STATE_ERR_NO_PROPERTY, another type or a size other than the record with or without the
    // bypass word LV2_STATE_ERR_BAD_TYPE, a value that is not a finite number or a bypass word
    // other than 0 or 1 LV2_STATE_ERR_UNKNOWN. A record without the bypass word leaves bypass. A
    // restore keeps the control ports' present values from overriding it: only ports the host
    // changes afterwards apply at the next run.
    LV2_State_Status SaveLv2State(LV2_State_Store_Function store, LV2_State_Handle handle,
                                  const LV2_Feature* const* features);
    LV2_State_Status RestoreLv2State(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                                     const LV2_Feature* const* features);

    // Frames run since activation, the position the effect's LFOs realign to after a pause.
    int SamplePosition() const override;

private:
    // The last value taken from a control port, bit for bit; `taken` is false until one is.
    struct ControlPort {
        const float* location = nullptr;
        uint32_t lastBits = 0;
        bool taken = false;
    };

    const LV2_URID_Map* MapFor(const LV2_Feature* const* features) const;
    // A port's value when it is connected, finite and not the one taken last; records it.
    bool TakeChangedValue(ControlPort& port, float& value);
    void ApplyControlPorts();
    // After a restore: the ports' present values count as taken.
    void KeepPortValues();
    void ProcessInBlocks(uint32_t total, bool withEffect);
    void BindSpan(uint32_t offset);

    std::unique_ptr<float*[]> inputs;
    std::unique_ptr<float*[]> outputs;
    std::unique_ptr<ControlPort[]> controls;  // one per parameter, then `enabled`
    const LV2_URID_Map* map = nullptr;
    std::string stateKey;
    uint64_t framesSinceActivation = 0;
};
