#include "ManifestTurtle.h"

#include "TurtlePrefixes.h"

namespace vibrascend::lv2turtle {

std::string ManifestTurtle(const PluginDescription& plugin)
{
    const std::string pluginIri = "<" + plugin.uri + ">";
    std::string out = std::string(prefix::kLv2) + prefix::kPresets + prefix::kRdfs + prefix::kUi;
    out += "\n" + pluginIri + "\n";
    out += "    a lv2:Plugin ;\n";
    out += "    lv2:binary <" + plugin.binary + "> ;\n";
    out += std::string("    rdfs:seeAlso <") + kPluginFile + "> .\n";
    out += "\n<" + UiUri(plugin) + ">\n";
    out += "    a ui:X11UI ;\n";
    out += "    ui:binary <" + plugin.binary + "> ;\n";
    out += std::string("    rdfs:seeAlso <") + kPluginFile + "> .\n";
    for (const FactoryPreset& preset : plugin.presets) {
        out += "\n<" + PresetUri(plugin, preset.slot) + ">\n";
        out += "    a pset:Preset ;\n";
        out += "    lv2:appliesTo " + pluginIri + " ;\n";
        out += std::string("    rdfs:seeAlso <") + kPresetsFile + "> .\n";
    }
    return out;
}

}  // namespace vibrascend::lv2turtle
