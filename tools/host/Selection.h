// Matching what the user typed (--preset, --set) against the presets and parameters a plug-in reports.
#pragma once

#include "CommandLine.h"
#include "PluginInstance.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vibrascend::host {

struct PresetChoice {
    Steinberg::Vst::ParamID parameter = 0;  // the program-change parameter that selects it
    int index = 0;
    std::string name;
    double normalized = 0.0;
};

// TEXT is a slot number, else a name matched exactly or as a unique substring, ignoring case.
// Throws HostError for an unknown, empty or ambiguous choice.
PresetChoice ChoosePreset(const std::vector<ProgramList>& lists, const std::vector<ParameterDescription>& parameters,
                          std::string_view text);

// The parameter whose title is `name` (exact match first, then ignoring case), never the
// program-change parameter. Throws HostError when there is none.
const ParameterDescription& FindParameter(const std::vector<ParameterDescription>& parameters, std::string_view name);

// A number at the start of `value`, followed by nothing or by the parameter's units.
std::optional<double> LeadingNumber(std::string_view value, std::string_view units);

struct ParameterChoice {
    Steinberg::Vst::ParamID id = 0;
    double normalized = 0.0;
    std::optional<std::string> note;  // set when the plug-in will use another value than typed
};

// Converts NAME=VALUE through the plug-in's own text conversion; value texts of stepped
// parameters ("Triangle") are matched against its display texts. Throws HostError.
ParameterChoice ChooseParameterValue(const PluginInstance& plugin, const std::vector<ParameterDescription>& parameters,
                                     const ParameterSetting& setting);

}  // namespace vibrascend::host
