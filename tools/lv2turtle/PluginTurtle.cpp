#include "PluginTurtle.h"

#include "TurtlePrefixes.h"
#include "TurtleText.h"

#include <string_view>
#include <vector>

namespace vibrascend::lv2turtle {

namespace {

std::string Iri(std::string_view iri)
{
    std::string out(1, '<');
    out += iri;
    return out += '>';
}

// Objects of one predicate, separated as Turtle lists them.
std::string Joined(const std::vector<std::string>& objects)
{
    std::string out;
    for (const std::string& object : objects)
        out += (out.empty() ? "" : " , ") + object;
    return out;
}

// The LV2 unit of a parameter's unit label; a label the units vocabulary has no resource for gets
// a unit of its own, shown as the label.
std::string UnitObject(const std::string& label)
{
    if (label == "Hz")
        return "units:hz";
    if (label == "%")
        return "units:pc";
    if (label == "dB")
        return "units:db";
    const std::string text = TurtleString(label);
    // units:render is a printf format: a '%' of the label is doubled.
    std::string render;
    for (const char c : label)
        render += c == '%' ? std::string("%%") : std::string(1, c);
    return "[\n            a units:Unit ;\n            rdfs:label " + text + " ;\n            units:symbol " + text +
           " ;\n            units:render " + TurtleString("%f " + render) + "\n        ]";
}

std::string AudioPortTurtle(const AudioPort& port, std::size_t index)
{
    return std::string("[\n        a lv2:AudioPort , ") + (port.input ? "lv2:InputPort" : "lv2:OutputPort") +
           " ;\n        lv2:index " + std::to_string(index) + " ;\n        lv2:symbol " + TurtleString(port.symbol) +
           " ;\n        lv2:name " + TurtleString(port.name) + "\n    ]";
}

std::string ControlPortTurtle(const ControlPort& port)
{
    std::string out = "[\n        a lv2:ControlPort , lv2:InputPort ;\n";
    out += "        lv2:index " + std::to_string(port.index) + " ;\n";
    out += "        lv2:symbol " + TurtleString(port.symbol) + " ;\n";
    out += "        lv2:name " + TurtleString(port.name) + " ;\n";
    if (port.enablesPlugin)
        out += "        lv2:designation lv2:enabled ;\n";
    out += "        lv2:default " + FiniteTurtleNumber(port.defaultValue) + " ;\n";
    out += "        lv2:minimum " + FiniteTurtleNumber(port.minimum) + " ;\n";
    out += "        lv2:maximum " + FiniteTurtleNumber(port.maximum);
    std::vector<std::string> properties;
    if (port.integer)
        properties.push_back("lv2:integer");
    if (port.enumeration)
        properties.push_back("lv2:enumeration");
    if (port.toggled)
        properties.push_back("lv2:toggled");
    if (port.logarithmic)
        properties.push_back("pprops:logarithmic");
    if (!properties.empty())
        out += " ;\n        lv2:portProperty " + Joined(properties);
    if (!port.unit.empty())
        out += " ;\n        units:unit " + UnitObject(port.unit);
    std::vector<std::string> points;
    for (const ScalePoint& point : port.scalePoints)
        points.push_back("[\n            rdfs:label " + TurtleString(point.label) + " ;\n            rdf:value " +
                         FiniteTurtleNumber(point.value) + "\n        ]");
    if (!points.empty())
        out += " ;\n        lv2:scalePoint " + Joined(points);
    return out + "\n    ]";
}

}  // namespace

std::string PluginTurtle(const PluginDescription& plugin)
{
    std::string out;
    for (const char* line : {prefix::kBufSize, prefix::kDoap, prefix::kFoaf, prefix::kLv2, prefix::kOptions,
                             prefix::kPortProps, prefix::kRdf, prefix::kRdfs, prefix::kState, prefix::kUi,
                             prefix::kUnits, prefix::kUrid})
        out += line;

    // The package's licence is proprietary, which no licence URI names: no doap:license.
    out += '\n' + Iri(plugin.uri) + '\n';
    out += "    a lv2:Plugin , lv2:ModulatorPlugin ;\n";
    out += "    doap:name " + TurtleString(plugin.name) + " ;\n";
    // The maintainer belongs to the project (doap:maintainer is a property of doap:Project), where
    // hosts look for it when the plug-in names none.
    out += "    lv2:project [\n        a doap:Project ;\n        doap:name " + TurtleString(plugin.name) + " ;\n";
    out += "        doap:maintainer [\n            foaf:name " +
           TurtleString(plugin.maintainer) + "\n        ]\n    ] ;\n";
    out += "    lv2:minorVersion " + std::to_string(plugin.version.minorVersion) + " ;\n";
    out += "    lv2:microVersion " + std::to_string(plugin.version.microVersion) + " ;\n";
    out += "    lv2:binary " + Iri(plugin.binary) + " ;\n";
    // Nothing is required of the host: every feature the plug-in can use is optional.
    out += "    lv2:optionalFeature lv2:hardRTCapable , urid:map , bufsz:boundedBlockLength , opts:options ;\n";
    out += "    lv2:extensionData state:interface ;\n";
    out += "    ui:ui " + Iri(UiUri(plugin)) + " ;\n";
    std::vector<std::string> ports;
    for (std::size_t i = 0; i < kAudioPorts.size(); ++i)
        ports.push_back(AudioPortTurtle(kAudioPorts[i], i));
    for (const ControlPort& port : plugin.controls)
        ports.push_back(ControlPortTurtle(port));
    out += "    lv2:port " + Joined(ports) + " .\n";

    // The UI is in the plug-in's binary. The idle interface is listed as a feature too, as the UI
    // extension asks of a UI that offers it.
    out += '\n' + Iri(UiUri(plugin)) + '\n';
    out += "    a ui:X11UI ;\n";
    out += "    ui:binary " + Iri(plugin.binary) + " ;\n";
    out += "    lv2:requiredFeature ui:parent ;\n";
    out += "    lv2:optionalFeature ui:resize , ui:touch , ui:noUserResize , ui:idleInterface , urid:map ;\n";
    out += "    lv2:extensionData ui:idleInterface , ui:showInterface .\n";
    return out;
}

}  // namespace vibrascend::lv2turtle
