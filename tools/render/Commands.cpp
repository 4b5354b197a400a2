#include "Commands.h"

#include "DemoSignal.h"
#include "HostError.h"
#include "Listing.h"
#include "OutputFile.h"
#include "PluginInstance.h"
#include "Renderer.h"
#include "Selection.h"
#include "StandardStreams.h"
#include "StateFile.h"
#include "WavReader.h"
#include "WavWriter.h"

#include "platform/StopSignals.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

namespace vibrascend::render {

using namespace vibrascend::host;

namespace {

constexpr const char* kHostName = "vibrascend-render";
constexpr const char* kDemoFile = "vibrascend-demo.wav";
constexpr const char* kDemoPreset = "73";
constexpr double kDemoSeconds = 8.0;
constexpr double kDemoRate = 48000.0;

const char* PrecisionName(bool doublePrecision) { return doublePrecision ? "64-bit" : "32-bit"; }

const char* LayoutName(int channels) { return channels == 1 ? "mono" : "stereo"; }

void Note(const std::string& text) { std::fprintf(stderr, "vibrascend-render: note: %s\n", text.c_str()); }

// The line a stop by the user ends with: the signal's name, then what became of the output.
constexpr const char* kStopHead = "vibrascend-render: stopped by ";

void OnStopSay(const std::string& outcome) { platform::SetStopNotice(kStopHead, outcome); }

// Commits the writer; a stop waits for the rename of a file (a stream can block on its reader,
// so a stop then is not held up) and from then on says that the output is complete.
void CommitOutput(WavWriter& writer, const std::string& name)
{
    std::optional<platform::StopSignalsHeld> held;
    if (!writer.Streams())
        held.emplace();
    writer.Commit();
    OnStopSay(" after " + name + " was written in full");
}

}  // namespace

void RunDemo(const CommandLine& line, const std::filesystem::path& bundle)
{
    PluginInstance plugin(bundle, kHostName);
    const PresetChoice preset = ChoosePreset(plugin.ProgramLists(), plugin.Parameters(), kDemoPreset);
    const double rate = std::round(line.rate.value_or(kDemoRate));
    DemoSignal signal(rate, kDemoSeconds);
    platform::CatchStopSignals();
    OnStopSay(std::string("; ") + kDemoFile + " is unchanged");
    WavWriter writer(kDemoFile, static_cast<std::uint32_t>(rate), signal.ChannelCount());
    ParameterChanges changes;
    changes.Add(preset.parameter, preset.normalized);
    ProgressBar progress(stderr, 0, false);
    const ProcessingSetup setup{rate, line.block, signal.ChannelCount(), line.doublePrecision};
    const std::uint64_t frames = RenderSignal(plugin, signal, writer, setup, changes, progress);
    CommitOutput(writer, kDemoFile);
    std::printf("Rendered %.1f s of demo audio (a chord of sines over soft pink noise, %.0f Hz stereo) through \"%s\" "
                "preset %d \"%s\" in %s processing into %s\n",
                static_cast<double>(frames) / rate, rate, plugin.ClassName().c_str(), preset.index, preset.name.c_str(),
                PrecisionName(line.doublePrecision), kDemoFile);
}

void RunRender(const CommandLine& line, const std::filesystem::path& bundle)
{
    const std::string inputName = InputName(line.input);
    const std::string outputName = OutputName(line.output);
    platform::CatchStopSignals();
    OnStopSay("; " + outputName + " is unchanged");
    // Outputs that cannot be written are refused before any work.
    OutputFile::Check(line.output);
    if (line.stateOut)
        OutputFile::Check(*line.stateOut, "state file ");
    WavReader reader(line.input);
    const WavFormat format = reader.Format();
    if (!line.rate && (format.sampleRate < kMinSampleRate || format.sampleRate > kMaxSampleRate)) {
        throw HostError(inputName + " is at " + std::to_string(format.sampleRate) +
                        " Hz, outside 8000-384000 Hz: give --rate to process it at another rate");
    }
    const double rate = line.rate.value_or(format.sampleRate);

    PluginInstance plugin(bundle, kHostName);
    const auto parameters = plugin.Parameters();
    if (line.stateIn)
        plugin.LoadState(ReadStateFile(*line.stateIn));

    ParameterChanges changes;
    std::string applied;
    const auto describe = [&applied](const std::string& what) {
        applied += (applied.empty() ? " with " : ", ") + what;
    };
    if (line.preset) {
        const PresetChoice preset = ChoosePreset(plugin.ProgramLists(), parameters, *line.preset);
        changes.Add(preset.parameter, preset.normalized);
        describe("preset " + std::to_string(preset.index) + " \"" + preset.name + "\"");
    }
    for (const auto& setting : line.settings) {
        const ParameterChoice choice = ChooseParameterValue(plugin, parameters, setting);
        if (choice.note)
            Note(*choice.note);
        changes.Add(choice.id, choice.normalized);
        describe(setting.name + "=" + setting.value);
    }

    WavWriter writer(line.output, format.sampleRate, format.channels);
    if (writer.Streams())
        OnStopSay("; " + outputName + " received only part of the audio");
    const ProcessingSetup setup{rate, line.block, format.channels, line.doublePrecision};
    ProgressBar progress = ProgressBar::ForStandardError(reader.TotalFrames(), format.sampleRate);
    const std::uint64_t frames = RenderSignal(plugin, reader, writer, setup, changes, progress);
    if (reader.Truncated()) {
        Note(inputName + " is shorter than its header says: rendered the " + std::to_string(frames) +
             " whole frames it holds");
    }
    if (reader.NonFiniteSamples() > 0) {
        Note(std::to_string(reader.NonFiniteSamples()) + " NaN or infinite samples of the input were read as silence");
    }
    if (line.stateOut)
        WriteStateFile(*line.stateOut, plugin.SaveState());
    CommitOutput(writer, outputName);
    // Standard output may carry the audio or the state: the summary goes beside it then.
    const bool outputIsStandard = IsStandardStream(line.output) || (line.stateOut && IsStandardStream(*line.stateOut));
    std::fprintf(outputIsStandard ? stderr : stdout,
                 "Rendered %s (%llu frames, %s, %u Hz, processed at %.0f Hz in %s) through \"%s\"%s into %s\n",
                 inputName.c_str(), static_cast<unsigned long long>(frames), LayoutName(format.channels),
                 format.sampleRate, rate, PrecisionName(line.doublePrecision), plugin.ClassName().c_str(),
                 applied.c_str(), outputName.c_str());
}

void RunParams(const std::filesystem::path& bundle)
{
    const PluginInstance plugin(bundle, kHostName);
    PrintParameters(stdout, plugin);
}

void RunPresets(const std::filesystem::path& bundle)
{
    const PluginInstance plugin(bundle, kHostName);
    PrintPrograms(stdout, plugin);
}

}  // namespace vibrascend::render
