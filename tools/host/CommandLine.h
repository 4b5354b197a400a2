// The command line of vibrascend-render: subcommand, files and options, checked before any work.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vibrascend::host {

enum class Command {
    Demo,
    Render,
    Params,
    Presets,
    Editor,
    Snapshot,
    Help
};

// A scripted mouse event of the snapshot command, in editor pixels.
struct EditorEvent {
    enum class Kind {
        Hover,
        Press,
        RightPress,
        Drag,
        Wheel
    };
    Kind kind = Kind::Hover;
    int x = 0;
    int y = 0;
    int dx = 0;  // drag: the distance moved with the button held
    int dy = 0;
    int notches = 0;  // wheel: positive upwards
};

// Scripted coordinates and distances are kept within this magnitude so that sums cannot overflow.
inline constexpr int kMaxEventCoordinate = 100000;
inline constexpr int kMaxWheelNotches = 1000;

struct ParameterSetting {
    std::string name;
    std::string value;
};

// The processing rate accepted from --rate and from input files.
inline constexpr double kMinSampleRate = 8000.0;
inline constexpr double kMaxSampleRate = 384000.0;
inline constexpr int kDefaultBlock = 512;
inline constexpr int kMaxBlock = 65536;

struct CommandLine {
    Command command = Command::Demo;
    std::optional<std::filesystem::path> plugin;
    std::filesystem::path input;
    std::filesystem::path output;
    std::optional<std::string> preset;
    std::vector<ParameterSetting> settings;
    std::optional<double> rate;
    int block = kDefaultBlock;
    bool doublePrecision = false;
    std::optional<std::filesystem::path> stateIn;
    std::optional<std::filesystem::path> stateOut;
    std::optional<std::filesystem::path> screenshot;  // editor: save what the window shows, then exit
    int afterMs = 1000;  // editor: ...this long after opening
    std::vector<EditorEvent> events;  // snapshot: in command-line order
};

// `arguments` excludes the program name. Throws UsageError naming the offending argument.
CommandLine ParseCommandLine(std::span<const std::string_view> arguments);

std::string UsageText();

}  // namespace vibrascend::host
