#include "initial_settings.h"

#include "selection.h"

#include <array>
#include <cstdio>

namespace vibrascend::render {

using namespace vibrascend::host;

void applySettings(PluginInstance& plugin, const CommandLine& line, std::string& applied) {
    const auto parameters = plugin.parameters();
    ParameterChanges changes;
    if (line.preset) {
        const PresetChoice preset = choosePreset(plugin.programLists(), parameters, *line.preset);
        changes.add(preset.parameter, preset.normalized);
        applied += " with preset " + std::to_string(preset.index) + " \"" + preset.name + "\"";
    }
    for (const auto& setting : line.settings) {
        const ParameterChoice choice = chooseParameterValue(plugin, parameters, setting);
        if (choice.note) std::fprintf(stderr, "vibrascend-render: note: %s\n", choice.note->c_str());
        changes.add(choice.id, choice.normalized);
        applied += (applied.empty() ? " with " : ", ") + setting.name + "=" + setting.value;
    }
    if (changes.getParameterCount() == 0) return;
    // A block of no frames delivers the changes without processing audio.
    plugin.startProcessing(ProcessingSetup{});
    std::array<float, 1> silence{};
    const std::array<float*, 2> channels{silence.data(), silence.data()};
    plugin.process(channels, channels, 0, &changes);
    plugin.stopProcessing();
}

}  // namespace vibrascend::render
