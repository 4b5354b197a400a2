#include "EffectPresets.h"

#include "Lv2TurtleError.h"
#include "framework/IFxBase.h"
#include "framework/StateChunk.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace vibrascend::lv2turtle {

namespace {

constexpr double kEnabled = 1.0;

}  // namespace

std::vector<FactoryPreset> EffectFactoryPresets(IFxBase& effect)
{
    // The bank holds, per slot: the name as a length-prefixed text, one byte 1 for a slot in use,
    // and then one double per parameter.
    StateChunk bank;
    if (!effect.SavePresetBank(bank))
        throw Lv2TurtleError("the effect did not write its preset bank");
    std::vector<FactoryPreset> presets;
    int32_t position = 0;
    for (int slot = 0; slot < effect.NumPresets(); ++slot) {
        char name[kPresetNameSize];
        uint8_t inUse = 0;
        position = bank.GetText(name, kPresetNameSize, position);
        if (position >= 0)
            position = bank.GetByte(inUse, position);
        if (position < 0)
            throw Lv2TurtleError("the effect's preset bank ends inside slot " + std::to_string(slot));
        if (!inUse)
            continue;
        FactoryPreset preset{slot, name, {}};
        for (int i = 0; i < effect.NumParams() && position >= 0; ++i) {
            double value = 0.0;
            position = bank.GetDouble(value, position);
            if (position >= 0 && !std::isfinite(value))
                throw Lv2TurtleError("preset " + std::to_string(slot) + " holds a value that is not a number");
            preset.values.push_back(effect.GetParam(i)->Conform(value));
        }
        if (position < 0)
            throw Lv2TurtleError("the effect's preset bank ends inside slot " + std::to_string(slot));
        preset.values.push_back(kEnabled);
        presets.push_back(std::move(preset));
    }
    return presets;
}

}  // namespace vibrascend::lv2turtle
