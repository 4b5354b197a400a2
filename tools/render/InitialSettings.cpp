#include "InitialSettings.h"

#include "Selection.h"

#include <array>
#include <cstdio>

namespace vibrascend::render {

using namespace vibrascend::host;

void ApplySettings(PluginInstance& plugin, const CommandLine& line, std::string& applied)
{
    const auto parameters = plugin.Parameters();
    ParameterChanges changes;
    if (line.preset) {
        const PresetChoice preset = ChoosePreset(plugin.ProgramLists(), parameters, *line.preset);
        changes.Add(preset.parameter, preset.normalized);
        applied += " with preset " + std::to_string(preset.index) + " \"" + preset.name + "\"";
    }
    for (const auto& setting : line.settings) {
        const ParameterChoice choice = ChooseParameterValue(plugin, parameters, setting);
        if (choice.note)
            std::fprintf(stderr, "vibrascend-render: note: %s\n", choice.note->c_str());
        changes.Add(choice.id, choice.normalized);
        applied += (applied.empty() ? " with " : ", ") + setting.name + "=" + setting.value;
    }
    if (changes.getParameterCount() == 0)
        return;
    // A block of no frames delivers the changes without processing audio.
    plugin.StartProcessing(ProcessingSetup{});
    std::array<float, 1> silence{};
    const std::array<float*, 2> channels{silence.data(), silence.data()};
    plugin.Process(channels, channels, 0, &changes);
    plugin.StopProcessing();
}

}  // namespace vibrascend::render
