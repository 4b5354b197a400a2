// The effect as the state fuzzers drive it: a host's set-up for 32-bit stereo processing and the
// checks every state the effect holds must pass.
#pragma once

#include "effect/vst3/VibrascendVst3.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class FuzzEffect : public VibrascendVst3 {
public:
    static constexpr int kBlockFrames = 64;

    // Initialised, set up for 32-bit blocks of kBlockFrames at 48 kHz, active and processing.
    FuzzEffect();

    // The component state as getState writes it.
    std::vector<std::uint8_t> State();
    Steinberg::tresult SetState(std::span<const std::uint8_t> bytes);
    Steinberg::tresult SetComponentState(std::span<const std::uint8_t> bytes);
    // One 32-bit stereo block of a test tone; true when every output sample is finite.
    bool ProcessBlockOfTone();

    // Every parameter finite, inside its range and, for stepped kinds, on a step.
    bool ValuesUsable() const;
    // The values a preset slot holds (none for a slot without values) are a complete, usable set.
    bool PresetValuesUsable(int slot) const;
    // The effect applied exactly what the parameters hold.
    bool EffectMatchesParams() const;
    // The values the editor is to show next are every parameter's current value.
    bool EditorMatchesParams() const;

private:
    bool Usable(int index, double value) const;
};

struct FuzzEffectRelease {
    void operator()(FuzzEffect* effect) const
    {
        effect->setActive(false);
        effect->terminate();
        effect->release();
    }
};
using FuzzEffectPtr = std::unique_ptr<FuzzEffect, FuzzEffectRelease>;
