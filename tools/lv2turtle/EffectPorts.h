// The control ports of an effect: one per parameter, from its parameter records, then the
// `enabled` port the host bypasses the plug-in with.
#pragma once

#include "PluginDescription.h"

#include <vector>

class IFxBase;

namespace vibrascend::lv2turtle {

// Ports 4 upward: parameter i at port 4 + i, then `enabled`. Throws Lv2TurtleError for a missing
// parameter record, a range or default that is not finite or not ordered, or two ports whose
// symbols are the same.
std::vector<ControlPort> EffectControlPorts(const IFxBase& effect);

// A range of positive values spanning two decades or more is logarithmic: each octave of a
// frequency then gets the same travel of a host's slider.
bool IsLogarithmicRange(double minimum, double maximum);

}  // namespace vibrascend::lv2turtle
