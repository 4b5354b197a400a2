// Renders the same input, settings and block plan through the VST3 bundle (the project's VST3
// host library) and through the LV2 binary (Lv2TestHost), 32-bit, for comparing the two formats
// bit for bit.
#pragma once

#include "Lv2TestHost.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lv2_test {

constexpr double kRate = 48000.0;

using Params = std::array<double, kNumParams>;

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
    size_t Frames() const { return left.size(); }
};

Stereo Sines(double seconds);
Stereo Noise(double seconds);
// Silence (longer than the effect's one-second tail) and then the sines.
Stereo SilenceThenSines(double silentSeconds, double seconds);
// The command-line host's demo material.
Stereo Demo(double seconds);

// One host change at the start of a block: a parameter to a plain value, or bypass on (1) or
// off (0).
constexpr int kBypassChange = -1;
struct Change {
    size_t block;
    int param;
    double plain;
};

// A state record loaded before a block (VST3 setState, LV2 state restore).
struct StateLoad {
    size_t block;
    std::vector<uint8_t> record;
};

struct Plan {
    std::vector<uint32_t> blocks;  // frames per call, repeated until the input ends
    std::vector<Change> changes = {};
    std::vector<StateLoad> states = {};
    // Blocks before which processing stops and starts again (VST3 processing off, inactive,
    // set up, active, processing on; LV2 deactivate, activate).
    std::vector<size_t> restarts = {};
};

// The VST3 plug-in's values in force (plain, as its state holds them) at the start and after
// selecting a program slot.
Params Vst3Defaults();
Params Vst3PresetValues(int slot);

// Settings reach each format with the first block: as points at offset 0 for the VST3 plug-in,
// as control port values for the LV2 one (which carry them as 32-bit floats; the VST3 plug-in gets
// the same rounded values).
Stereo RenderVst3(const Stereo& input, const Params& settings, const Plan& plan, int maxBlock);
Stereo RenderLv2(const Stereo& input, const Params& settings, const Plan& plan, const HostFeatures& features);

// "identical" when two renders agree bit for bit, else how many frames differ and the first.
std::string Difference(const Stereo& a, const Stereo& b);

}  // namespace lv2_test
