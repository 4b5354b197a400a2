// The effect's factory presets: every preset slot that is in use, with the values loading it
// sets, read from the effect's own preset bank.
#pragma once

#include "PluginDescription.h"

#include <vector>

class IFxBase;

namespace vibrascend::lv2turtle {

// In slot order. A slot in use without stored values stands for the declared defaults (as the
// bank holds it); values are conformed to their parameters as a load does, and the `enabled`
// port's 1 follows the parameters. Throws Lv2TurtleError when the bank cannot be read.
std::vector<FactoryPreset> EffectFactoryPresets(IFxBase& effect);

}  // namespace vibrascend::lv2turtle
