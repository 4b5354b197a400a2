// One preset: a name and, once defined, the parameter values as a state chunk.
#pragma once

#include <atomic>

#include "framework/StateChunk.h"

constexpr int kPresetNameSize = 256;

struct PresetSlot {
    // Read by the audio side when the host changes programs; written by the UI side.
    std::atomic<bool> initialised{false};
    // Set by the audio side when it selects a slot never used before, for the UI side to name.
    std::atomic<bool> claimed{false};
    // Named on its first selection and not yet reported to the host (UI side, under the lock).
    bool renameUnreported = false;
    char name[kPresetNameSize] = {};
    StateChunk chunk;
};
