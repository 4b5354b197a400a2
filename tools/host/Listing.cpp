#include "Listing.h"

#include <pluginterfaces/vst/ivsteditcontroller.h>

#include <algorithm>
#include <cmath>

namespace vibrascend::host {

namespace {

using Steinberg::Vst::ParameterInfo;

std::string FlagNames(Steinberg::int32 flags)
{
    struct Flag {
        Steinberg::int32 bit;
        const char* name;
    };
    constexpr Flag kFlags[] = {
        {ParameterInfo::kCanAutomate, "automatable"},
        {ParameterInfo::kIsReadOnly, "read-only"},
        {ParameterInfo::kIsList, "list"},
        {ParameterInfo::kIsProgramChange, "program-change"},
        {ParameterInfo::kIsBypass, "bypass"},
        {ParameterInfo::kIsHidden, "hidden"},
    };
    std::string names;
    for (const auto& flag : kFlags) {
        if ((flags & flag.bit) != 0)
            names += (names.empty() ? "" : ",") + std::string(flag.name);
    }
    return names.empty() ? "-" : names;
}

std::string DefaultText(const PluginInstance& plugin, const ParameterDescription& parameter,
                        const std::vector<ProgramList>& lists)
{
    if ((parameter.flags & ParameterInfo::kIsProgramChange) != 0) {
        for (const auto& list : lists) {
            if (static_cast<Steinberg::Vst::ParamID>(list.id) != parameter.id || list.programNames.empty())
                continue;
            const auto index = static_cast<std::size_t>(
                std::lround(parameter.defaultNormalized * static_cast<double>(list.programNames.size() - 1)));
            if (index < list.programNames.size()) {
                return "preset " + std::to_string(index) + " \"" + list.programNames[index] + "\"";
            }
        }
    }
    const auto text = plugin.DisplayText(parameter.id, parameter.defaultNormalized);
    if (!text)
        return "-";
    return parameter.units.empty() ? *text : *text + " " + parameter.units;
}

}  // namespace

std::string FormatParameterId(Steinberg::Vst::ParamID id)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<char>((id >> shift) & 0xFF);
        if (c < 0x21 || c > 0x7E)
            return std::to_string(id);
        text += c;
    }
    return "'" + text + "'";
}

void PrintParameters(std::FILE* out, const PluginInstance& plugin)
{
    const auto parameters = plugin.Parameters();
    const auto lists = plugin.ProgramLists();
    std::size_t titleWidth = 5;
    std::size_t unitWidth = 5;
    for (const auto& p : parameters) {
        titleWidth = std::max(titleWidth, p.title.size());
        unitWidth = std::max(unitWidth, p.units.size());
    }
    const int tw = static_cast<int>(titleWidth);
    const int uw = static_cast<int>(unitWidth);
    std::fprintf(out, "%s: %zu parameters\n", plugin.ClassName().c_str(), parameters.size());
    std::fprintf(out, "  %-8s %-*s %-*s %6s  %-28s %s\n", "id", tw, "title", uw, "units", "steps", "default", "flags");
    for (const auto& p : parameters) {
        std::fprintf(out, "  %-8s %-*s %-*s %6d  %-28s %s\n", FormatParameterId(p.id).c_str(), tw, p.title.c_str(), uw,
                     p.units.c_str(), p.stepCount, DefaultText(plugin, p, lists).c_str(), FlagNames(p.flags).c_str());
    }
}

void PrintPrograms(std::FILE* out, const PluginInstance& plugin)
{
    const auto lists = plugin.ProgramLists();
    if (lists.empty()) {
        std::fprintf(out, "%s has no program list\n", plugin.ClassName().c_str());
        return;
    }
    for (const auto& list : lists) {
        std::fprintf(out, "Program list \"%s\" (id %s): %zu programs\n", list.name.c_str(),
                     FormatParameterId(list.id).c_str(), list.programNames.size());
        for (std::size_t i = 0; i < list.programNames.size(); ++i) {
            const std::string& name = list.programNames[i];
            std::fprintf(out, "  %4zu  %s\n", i, name.empty() ? "(empty slot)" : name.c_str());
        }
    }
}

}  // namespace vibrascend::host
