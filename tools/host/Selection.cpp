#include "Selection.h"

#include "HostError.h"
#include "TextConvert.h"

#include <pluginterfaces/vst/ivsteditcontroller.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vibrascend::host {

namespace {

using Steinberg::Vst::ParameterInfo;

constexpr int kAmbiguousNamesShown = 3;
constexpr Steinberg::int32 kMaxStepsSearched = 4096;

bool IsProgramChange(const ParameterDescription& parameter)
{
    return (parameter.flags & ParameterInfo::kIsProgramChange) != 0;
}

std::string InQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::optional<int> SlotNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

PresetChoice ChoosePreset(const std::vector<ProgramList>& lists, const std::vector<ParameterDescription>& parameters,
                          std::string_view text)
{
    if (lists.empty())
        throw HostError("the plug-in has no program list");
    const ProgramList& list = lists.front();
    const auto byList = std::find_if(parameters.begin(), parameters.end(), [&list](const ParameterDescription& p) {
        return IsProgramChange(p) && p.id == static_cast<Steinberg::Vst::ParamID>(list.id);
    });
    const auto selector =
        byList != parameters.end() ? byList : std::find_if(parameters.begin(), parameters.end(), IsProgramChange);
    if (selector == parameters.end())
        throw HostError("the plug-in has no program-change parameter");
    const auto& names = list.programNames;
    const int count = static_cast<int>(names.size());
    if (count == 0)
        throw HostError("the program list " + InQuotes(list.name) + " is empty");

    int index = -1;
    if (const auto number = SlotNumber(text)) {
        if (*number >= count) {
            throw HostError("there is no preset " + std::string(text) + " (presets are numbered 0 to " +
                            std::to_string(count - 1) + ")");
        }
        if (names[static_cast<std::size_t>(*number)].empty()) {
            throw HostError("preset " + std::string(text) + " is an empty slot");
        }
        index = *number;
    } else {
        std::vector<int> matches;
        for (int i = 0; i < count; ++i) {
            const std::string& name = names[static_cast<std::size_t>(i)];
            if (!name.empty() && EqualsIgnoringCase(name, text)) {
                matches = {i};
                break;
            }
            if (!name.empty() && ContainsIgnoringCase(name, text))
                matches.push_back(i);
        }
        if (matches.empty()) {
            throw HostError("unknown preset " + InQuotes(text) + " (see: vibrascend-render presets)");
        }
        if (matches.size() > 1) {
            std::string shown;
            for (std::size_t i = 0; i < matches.size() && i < kAmbiguousNamesShown; ++i) {
                shown += (i ? ", " : "") + InQuotes(names[static_cast<std::size_t>(matches[i])]);
            }
            throw HostError("preset " + InQuotes(text) + " matches " + std::to_string(matches.size()) + " presets (" +
                            shown + (matches.size() > kAmbiguousNamesShown ? ", ..." : "") +
                            "): give more of the name or its number");
        }
        index = matches.front();
    }
    const int steps = selector->stepCount > 0 ? selector->stepCount : count - 1;
    return {selector->id, index, names[static_cast<std::size_t>(index)],
            steps > 0 ? std::min(1.0, static_cast<double>(index) / steps) : 0.0};
}

const ParameterDescription& FindParameter(const std::vector<ParameterDescription>& parameters, std::string_view name)
{
    const auto usable = [](const ParameterDescription& p) { return !IsProgramChange(p); };
    for (const auto& parameter : parameters) {
        if (usable(parameter) && parameter.title == name)
            return parameter;
    }
    for (const auto& parameter : parameters) {
        if (usable(parameter) && EqualsIgnoringCase(parameter.title, name))
            return parameter;
    }
    const bool isPresetList = std::any_of(parameters.begin(), parameters.end(), [name](const ParameterDescription& p) {
        return IsProgramChange(p) && EqualsIgnoringCase(p.title, name);
    });
    if (isPresetList)
        throw HostError(InQuotes(name) + " is the preset list: choose presets with --preset");
    throw HostError("unknown parameter " + InQuotes(name) + " (see: vibrascend-render params)");
}

std::optional<double> LeadingNumber(std::string_view value, std::string_view units)
{
    value = Trimmed(value);
    if (!value.empty() && value.front() == '+')
        value.remove_prefix(1);
    double number = 0.0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || !std::isfinite(number))
        return std::nullopt;
    const std::string_view rest = Trimmed(value.substr(static_cast<std::size_t>(end - value.data())));
    if (!rest.empty() && (units.empty() || !EqualsIgnoringCase(rest, units)))
        return std::nullopt;
    return number;
}

ParameterChoice ChooseParameterValue(const PluginInstance& plugin, const std::vector<ParameterDescription>& parameters,
                                     const ParameterSetting& setting)
{
    const ParameterDescription& parameter = FindParameter(parameters, setting.name);
    const std::string typed = setting.name + "=" + setting.value;
    if (const auto number = LeadingNumber(setting.value, parameter.units)) {
        // Fixed notation: the plug-in reads plain decimal digits, not exponents.
        char text[400];
        const auto written = std::to_chars(text, text + sizeof text, *number, std::chars_format::fixed);
        if (written.ec != std::errc())
            throw HostError(InQuotes(typed) + ": the value is too large");
        const auto normalized = plugin.NormalizedFromText(parameter.id, std::string(text, written.ptr));
        if (!normalized || !std::isfinite(*normalized)) {
            throw HostError("the plug-in could not convert " + InQuotes(typed));
        }
        ParameterChoice choice{parameter.id, std::clamp(*normalized, 0.0, 1.0), std::nullopt};
        const double used = plugin.PlainValue(parameter.id, choice.normalized);
        if (std::abs(used - *number) > 1e-6 * std::max(1.0, std::abs(*number))) {
            const auto shown = plugin.DisplayText(parameter.id, choice.normalized).value_or(std::to_string(used));
            choice.note = InQuotes(typed) + " is outside the parameter's range; it is set to " + shown +
                          (parameter.units.empty() ? "" : " " + parameter.units);
        }
        return choice;
    }
    std::string known;
    if (parameter.stepCount > 0 && parameter.stepCount <= kMaxStepsSearched) {
        for (Steinberg::int32 step = 0; step <= parameter.stepCount; ++step) {
            const double normalized = static_cast<double>(step) / parameter.stepCount;
            const auto text = plugin.DisplayText(parameter.id, normalized);
            if (!text)
                continue;
            if (EqualsIgnoringCase(*text, setting.value))
                return {parameter.id, normalized, std::nullopt};
            if (parameter.stepCount <= 16)
                known += (known.empty() ? "" : ", ") + *text;
        }
    }
    if (!known.empty()) {
        throw HostError(InQuotes(parameter.title) + " has no value " + InQuotes(setting.value) + " (one of: " + known +
                        ")");
    }
    throw HostError(InQuotes(typed) + ": the value is not a number" +
                    (parameter.units.empty() ? "" : " of " + parameter.units));
}

}  // namespace vibrascend::host
