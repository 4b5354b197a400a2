#include "EffectDescription.h"

#include "EffectPorts.h"
#include "EffectPresets.h"
#include "framework/IFxBase.h"

namespace vibrascend::lv2turtle {

PluginDescription DescribeEffect(IFxBase& effect, const Lv2TurtleOptions& options)
{
    PluginDescription plugin;
    plugin.uri = options.uri;
    plugin.binary = options.binary;
    plugin.name = effect.EffectName();
    plugin.maintainer = effect.ManufacturerName();
    plugin.version = Lv2VersionOf(options.release);
    plugin.controls = EffectControlPorts(effect);
    plugin.presets = EffectFactoryPresets(effect);
    return plugin;
}

}  // namespace vibrascend::lv2turtle
