// The command line of vibrascend-lv2-turtle:
//   vibrascend-lv2-turtle OUTDIR --uri URI --binary FILE --version MAJOR.MINOR.MICRO
// Options come in any order, each once; `--help` alone asks for the usage.
#pragma once

#include "Lv2Version.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vibrascend::lv2turtle {

constexpr const char* kUsage =
    "usage: vibrascend-lv2-turtle OUTDIR --uri URI --binary FILE --version MAJOR.MINOR.MICRO\n"
    "Writes the LV2 bundle's manifest.ttl, Vibrascend.ttl and presets.ttl into OUTDIR.\n"
    "  --uri URI        the plug-in's URI (absolute, without '#'); the UI is URI#ui, the presets\n"
    "                   URI#preset-NNN\n"
    "  --binary FILE    the bundle's shared object, a file name inside OUTDIR (Vibrascend.so)\n"
    "  --version X.Y.Z  the release, published as lv2:minorVersion 2Y and lv2:microVersion 2Z\n";

struct Lv2TurtleOptions {
    std::filesystem::path outDir;
    std::string uri;
    std::string binary;
    ReleaseNumber release;
};

struct Lv2TurtleCommand {
    bool help = false;
    std::string error;  // empty when the command line is sound
    Lv2TurtleOptions options;
};

Lv2TurtleCommand ParseLv2TurtleCommandLine(const std::vector<std::string>& arguments);

// An absolute URI a Turtle IRI reference can hold as it is and that a fragment can be added to:
// a scheme, then printable ASCII without spaces, '#' or any of <>"{}|^`\.
bool IsPluginUri(std::string_view uri);
// A plain file name of ASCII letters, digits, '.', '_' and '-', neither "." nor "..".
bool IsBinaryFileName(std::string_view name);

}  // namespace vibrascend::lv2turtle
