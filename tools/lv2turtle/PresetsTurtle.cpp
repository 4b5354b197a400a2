#include "PresetsTurtle.h"

#include "Lv2TurtleError.h"
#include "TurtlePrefixes.h"
#include "TurtleText.h"

namespace vibrascend::lv2turtle {

namespace {

std::string PresetTurtle(const PluginDescription& plugin, const FactoryPreset& preset)
{
    if (preset.values.size() != plugin.controls.size())
        throw Lv2TurtleError("preset " + std::to_string(preset.slot) + " holds " +
                             std::to_string(preset.values.size()) + " values for " +
                             std::to_string(plugin.controls.size()) + " control ports");
    std::string out(1, '<');
    out += PresetUri(plugin, preset.slot) + ">\n";
    out += "    a pset:Preset ;\n";
    out += "    lv2:appliesTo <" + plugin.uri + "> ;\n";
    out += "    rdfs:label " + TurtleString(preset.name) + " ;\n";
    out += "    lv2:port";
    for (std::size_t i = 0; i < preset.values.size(); ++i) {
        out += i == 0 ? " [\n" : " , [\n";
        out += "        lv2:symbol " + TurtleString(plugin.controls[i].symbol) + " ;\n";
        out += "        pset:value " + FiniteTurtleNumber(preset.values[i]) + "\n    ]";
    }
    return out + " .\n";
}

}  // namespace

std::string PresetsTurtle(const PluginDescription& plugin)
{
    std::string out = std::string(prefix::kLv2) + prefix::kPresets + prefix::kRdfs;
    for (const FactoryPreset& preset : plugin.presets)
        out += '\n' + PresetTurtle(plugin, preset);
    return out;
}

}  // namespace vibrascend::lv2turtle
