// The plug-in's description from the effect's own declaration and the command line's settings.
#pragma once

#include "Lv2TurtleCommandLine.h"
#include "PluginDescription.h"

class IFxBase;

namespace vibrascend::lv2turtle {

// Name and maintainer from the effect's identity, the control ports from its parameters, the
// presets from its preset slots. Throws Lv2TurtleError for a declaration the files cannot hold.
PluginDescription DescribeEffect(IFxBase& effect, const Lv2TurtleOptions& options);

}  // namespace vibrascend::lv2turtle
