#include "commands.h"

#include "demo_signal.h"
#include "host_error.h"
#include "listing.h"
#include "plugin_instance.h"
#include "renderer.h"
#include "selection.h"
#include "state_file.h"
#include "wav_reader.h"
#include "wav_writer.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace vibrascend::render {

using namespace vibrascend::host;

namespace {

constexpr const char* kHostName = "vibrascend-render";
constexpr const char* kDemoFile = "vibrascend-demo.wav";
constexpr const char* kDemoPreset = "73";
constexpr double kDemoSeconds = 8.0;
constexpr double kDemoRate = 48000.0;

const char* precisionName(bool doublePrecision) {
    return doublePrecision ? "64-bit" : "32-bit";
}

const char* layoutName(int channels) {
    return channels == 1 ? "mono" : "stereo";
}

void note(const std::string& text) {
    std::fprintf(stderr, "vibrascend-render: note: %s\n", text.c_str());
}

}  // namespace

void runDemo(const CommandLine& line, const std::filesystem::path& bundle) {
    PluginInstance plugin(bundle, kHostName);
    const PresetChoice preset = choosePreset(plugin.programLists(), plugin.parameters(), kDemoPreset);
    const double rate = std::round(line.rate.value_or(kDemoRate));
    DemoSignal signal(rate, kDemoSeconds);
    WavWriter writer(kDemoFile, static_cast<std::uint32_t>(rate), signal.channelCount());
    ParameterChanges changes;
    changes.add(preset.parameter, preset.normalized);
    ProgressBar progress(stderr, 0, false);
    const ProcessingSetup setup{rate, line.block, signal.channelCount(), line.doublePrecision};
    const std::uint64_t frames = renderSignal(plugin, signal, writer, setup, changes, progress);
    writer.commit();
    std::printf(
        "Rendered %.1f s of demo audio (a chord of sines over soft pink noise, %.0f Hz stereo) through \"%s\" "
        "preset %d \"%s\" in %s processing into %s\n",
        static_cast<double>(frames) / rate, rate, plugin.className().c_str(), preset.index, preset.name.c_str(),
        precisionName(line.doublePrecision), kDemoFile);
}

void runRender(const CommandLine& line, const std::filesystem::path& bundle) {
    WavReader reader(line.input);
    const WavFormat format = reader.format();
    if (!line.rate && (format.sampleRate < kMinSampleRate || format.sampleRate > kMaxSampleRate)) {
        throw HostError(line.input.string() + " is at " + std::to_string(format.sampleRate) +
                        " Hz, outside 8000-384000 Hz: give --rate to process it at another rate");
    }
    const double rate = line.rate.value_or(format.sampleRate);

    PluginInstance plugin(bundle, kHostName);
    const auto parameters = plugin.parameters();
    if (line.stateIn) plugin.loadState(readStateFile(*line.stateIn));

    ParameterChanges changes;
    std::string applied;
    const auto describe = [&applied](const std::string& what) { applied += (applied.empty() ? " with " : ", ") + what; };
    if (line.preset) {
        const PresetChoice preset = choosePreset(plugin.programLists(), parameters, *line.preset);
        changes.add(preset.parameter, preset.normalized);
        describe("preset " + std::to_string(preset.index) + " \"" + preset.name + "\"");
    }
    for (const auto& setting : line.settings) {
        const ParameterChoice choice = chooseParameterValue(plugin, parameters, setting);
        if (choice.note) note(*choice.note);
        changes.add(choice.id, choice.normalized);
        describe(setting.name + "=" + setting.value);
    }

    WavWriter writer(line.output, format.sampleRate, format.channels);
    const ProcessingSetup setup{rate, line.block, format.channels, line.doublePrecision};
    ProgressBar progress = ProgressBar::forStandardError(reader.totalFrames(), format.sampleRate);
    const std::uint64_t frames = renderSignal(plugin, reader, writer, setup, changes, progress);
    if (reader.truncated()) {
        note(line.input.string() + " is shorter than its header says: rendered the " + std::to_string(frames) +
             " whole frames it holds");
    }
    if (reader.nonFiniteSamples() > 0) {
        note(std::to_string(reader.nonFiniteSamples()) + " NaN or infinite samples of the input were read as silence");
    }
    if (line.stateOut) writeStateFile(*line.stateOut, plugin.saveState());
    writer.commit();
    std::printf("Rendered %s (%llu frames, %s, %u Hz, processed at %.0f Hz in %s) through \"%s\"%s into %s\n",
                line.input.string().c_str(), static_cast<unsigned long long>(frames), layoutName(format.channels),
                format.sampleRate, rate, precisionName(line.doublePrecision), plugin.className().c_str(),
                applied.c_str(), line.output.string().c_str());
}

void runParams(const std::filesystem::path& bundle) {
    const PluginInstance plugin(bundle, kHostName);
    printParameters(stdout, plugin);
}

void runPresets(const std::filesystem::path& bundle) {
    const PluginInstance plugin(bundle, kHostName);
    printPrograms(stdout, plugin);
}

}  // namespace vibrascend::render
