// One preset: a name and, once defined, the parameter values as a state chunk.
#pragma once

#include "framework/StateChunk.h"

constexpr int kPresetNameSize = 256;

struct PresetSlot {
    bool initialised = false;
    char name[kPresetNameSize] = {};
    StateChunk chunk;
};
