// Pulls a whole signal through a plug-in instance block by block into a WAV writer.
#pragma once

#include "parameter_changes.h"
#include "plugin_instance.h"
#include "progress_bar.h"
#include "signal_source.h"
#include "wav_writer.h"

#include <cstdint>

namespace vibrascend::host {

// Starts processing with `setup` (its channel count must match the source), delivers
// `firstChanges` with the first block, stops processing at the end. Answers the frames rendered.
std::uint64_t renderSignal(PluginInstance& plugin, SignalSource& source, WavWriter& writer,
                           const ProcessingSetup& setup, ParameterChanges& firstChanges, ProgressBar& progress);

}  // namespace vibrascend::host
