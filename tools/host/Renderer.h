// Pulls a whole signal through a plug-in instance block by block into a WAV writer.
#pragma once

#include "ParameterChanges.h"
#include "PluginInstance.h"
#include "ProgressBar.h"
#include "SignalSource.h"
#include "WavWriter.h"

#include <cstdint>

namespace vibrascend::host {

// Starts processing with `setup` (its channel count must match the source), delivers
// `firstChanges` with the first block, stops processing at the end. Answers the frames rendered.
std::uint64_t RenderSignal(PluginInstance& plugin, SignalSource& source, WavWriter& writer,
                           const ProcessingSetup& setup, ParameterChanges& firstChanges, ProgressBar& progress);

}  // namespace vibrascend::host
