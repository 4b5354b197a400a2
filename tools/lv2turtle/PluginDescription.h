// What the bundle's Turtle files say about the plug-in: identity, ports, UI and factory presets,
// read from the effect and the command line, checked before anything is written.
#pragma once

#include "Lv2Version.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vibrascend::lv2turtle {

struct AudioPort {
    const char* symbol;
    const char* name;
    bool input;
};

// Ports 0 to 3: the stereo input and output, before the control ports.
constexpr std::array<AudioPort, 4> kAudioPorts{{
    {"in_l", "In L", true},
    {"in_r", "In R", true},
    {"out_l", "Out L", false},
    {"out_r", "Out R", false},
}};

struct ScalePoint {
    std::string label;
    double value = 0.0;
};

// One control input port, in plain units (Hz, %, dB, list index).
struct ControlPort {
    std::uint32_t index = 0;
    std::string symbol;
    std::string name;
    double minimum = 0.0;
    double maximum = 1.0;
    double defaultValue = 0.0;
    std::string unit;  // the parameter's unit label ("Hz", "%", "dB"), empty for none
    bool integer = false;
    bool enumeration = false;
    bool logarithmic = false;
    bool toggled = false;
    bool enablesPlugin = false;  // lv2:designation lv2:enabled: 0 bypasses the plug-in
    std::vector<ScalePoint> scalePoints;
};

// A factory preset: its program slot and one value per control port, in port order.
struct FactoryPreset {
    int slot = 0;
    std::string name;
    std::vector<double> values;
};

struct PluginDescription {
    std::string uri;     // the plug-in's URI; the UI's and the presets' are made from it
    std::string binary;  // the shared object's file name inside the bundle
    std::string name;
    std::string maintainer;
    Lv2Version version;
    std::vector<ControlPort> controls;
    std::vector<FactoryPreset> presets;
};

// Names of the bundle's files and of the resources made from the plug-in URI.
constexpr const char* kManifestFile = "manifest.ttl";
constexpr const char* kPluginFile = "Vibrascend.ttl";
constexpr const char* kPresetsFile = "presets.ttl";
std::string UiUri(const PluginDescription& plugin);
// "<plugin URI>#preset-007": the slot number with at least three digits.
std::string PresetUri(const PluginDescription& plugin, int slot);

}  // namespace vibrascend::lv2turtle
