// The effect's parameter table: every parameter's id, name, kind, range, step, unit, curve,
// display texts and the scale at which the effect quantises its value. The effect declares its
// parameters from it, the presets and the editor name parameters by its ids.
#pragma once

#include "framework/IParamDef.h"

#include <array>
#include <cstdint>
#include <span>

class IFxBase;

enum VibrascendParam : int {
    kSplitFreq = 0,
    kDamping,
    kLowGain,
    kHighGain,
    kOutGain,
    kLfo1Target,
    kLfo1Wave,
    kLfo1Freq,
    kLfo1Depth,
    kLfo2Target,
    kLfo2Wave,
    kLfo2Freq,
    kLfo2Depth,
};

constexpr int kNumVibrascendParams = 13;

struct VibrascendParamRow {
    VibrascendParam id;
    const char* name;
    ParamKind kind;
    double def;
    double min;  // the lowest value; for enumerations the number of values is `texts.size()`
    double max;
    double step;
    const char* unit;
    double curve;  // power of the normalized-to-plain mapping; 1 is linear
    std::span<const char* const> texts;
    double quantum;  // the effect compares and applies NearestInt(value * quantum)
    ParamMotion motion = ParamMotion::Frames;  // how host automation reaches it within a block
};

// The parameters in the order they are declared (LFO frequencies before their waves).
std::span<const VibrascendParamRow> VibrascendParamTable();
// The row of parameter `id`; null for an id outside the table.
const VibrascendParamRow* VibrascendParamRowOf(int id);

// The four parameters of one LFO (0 or 1).
struct LfoParamIds {
    VibrascendParam target;
    VibrascendParam wave;
    VibrascendParam freq;
    VibrascendParam depth;
};
constexpr std::array<LfoParamIds, 2> kLfoParamIds{{
    {kLfo1Target, kLfo1Wave, kLfo1Freq, kLfo1Depth},
    {kLfo2Target, kLfo2Wave, kLfo2Freq, kLfo2Depth},
}};

// Plain values for every parameter, indexed by id.
using VibrascendValues = std::array<double, kNumVibrascendParams>;
// The declared default of every parameter.
VibrascendValues VibrascendDefaults();

// Defines the plug-in's parameter records from the table, in declaration order.
void DefineVibrascendParams(IFxBase& plugin);
