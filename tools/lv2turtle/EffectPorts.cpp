#include "EffectPorts.h"

#include "Lv2TurtleError.h"
#include "PortSymbol.h"
#include "framework/IFxBase.h"

#include <cmath>
#include <set>
#include <string>

namespace vibrascend::lv2turtle {

namespace {

constexpr double kLogarithmicSpan = 100.0;

ControlPort PortOfParam(const IParamDef& param, std::uint32_t index)
{
    ControlPort port;
    port.index = index;
    port.name = param.Name();
    port.symbol = PortSymbol(port.name);
    port.minimum = param.Min();
    port.maximum = param.Max();
    port.defaultValue = param.Default();
    port.unit = param.Label();
    const ParamKind kind = param.Kind();
    port.integer = kind == kParamBool || kind == kParamInt || kind == kParamEnum;
    port.enumeration = kind == kParamEnum;
    port.toggled = kind == kParamBool;
    port.logarithmic = (kind == kParamInt || kind == kParamDouble) && IsLogarithmicRange(port.minimum, port.maximum);
    for (int position = 0; position < param.ValueTextCount(); ++position) {
        const ParamValueText* text = param.ValueTextAt(position);
        port.scalePoints.push_back({text->text, static_cast<double>(text->value)});
    }
    return port;
}

ControlPort EnabledPort(std::uint32_t index)
{
    ControlPort port;
    port.index = index;
    port.symbol = "enabled";
    port.name = "Enabled";
    port.minimum = 0.0;
    port.maximum = 1.0;
    port.defaultValue = 1.0;
    port.integer = true;
    port.toggled = true;
    port.enablesPlugin = true;
    return port;
}

void CheckRange(const ControlPort& port)
{
    const bool finite =
        std::isfinite(port.minimum) && std::isfinite(port.maximum) && std::isfinite(port.defaultValue);
    if (!finite || !(port.minimum < port.maximum) || port.defaultValue < port.minimum ||
        port.defaultValue > port.maximum)
        throw Lv2TurtleError("parameter \"" + port.name + "\" has no finite range holding its default");
}

}  // namespace

bool IsLogarithmicRange(double minimum, double maximum)
{
    return minimum > 0.0 && maximum >= minimum * kLogarithmicSpan;
}

std::vector<ControlPort> EffectControlPorts(const IFxBase& effect)
{
    std::vector<ControlPort> ports;
    auto index = static_cast<std::uint32_t>(kAudioPorts.size());
    for (int i = 0; i < effect.NumParams(); ++i, ++index) {
        const IParamDef* param = effect.GetParam(i);
        if (!param)
            throw Lv2TurtleError("the effect declares no record for parameter " + std::to_string(i));
        ports.push_back(PortOfParam(*param, index));
    }
    ports.push_back(EnabledPort(index));

    std::set<std::string> symbols;
    for (const AudioPort& audio : kAudioPorts)
        symbols.insert(audio.symbol);
    for (const ControlPort& port : ports) {
        CheckRange(port);
        if (!symbols.insert(port.symbol).second)
            throw Lv2TurtleError("parameter \"" + port.name + "\" would take the port symbol \"" + port.symbol +
                                 "\" of another port");
    }
    return ports;
}

}  // namespace vibrascend::lv2turtle
