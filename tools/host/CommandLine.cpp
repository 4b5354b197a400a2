#include "CommandLine.h"

#include "HostError.h"
#include "StandardStreams.h"

#include <charconv>
#include <cmath>
#include <algorithm>

namespace vibrascend::host {

namespace {

struct CommandName {
    std::string_view word;
    Command command;
};

constexpr CommandName kCommands[] = {
    {"demo", Command::Demo},       {"render", Command::Render}, {"params", Command::Params},
    {"presets", Command::Presets}, {"editor", Command::Editor}, {"snapshot", Command::Snapshot},
    {"help", Command::Help},
};

constexpr std::string_view kRenderOptions[] = {"--rate", "--block",    "--double",   "--preset",
                                               "--set",  "--state-in", "--state-out"};
constexpr std::string_view kDemoOptions[] = {"--rate", "--block", "--double"};
constexpr std::string_view kEditorOptions[] = {"--screenshot", "--after-ms", "--preset", "--set"};
constexpr std::string_view kSnapshotOptions[] = {"--preset",      "--set",  "--hover", "--press",
                                                 "--right-press", "--drag", "--wheel"};

bool IsAllowed(Command command, std::string_view option)
{
    if (option == "--plugin")
        return true;
    const auto listed = [option](std::span<const std::string_view> names) {
        return std::find(names.begin(), names.end(), option) != names.end();
    };
    if (command == Command::Render)
        return listed(kRenderOptions);
    if (command == Command::Demo)
        return listed(kDemoOptions);
    if (command == Command::Editor)
        return listed(kEditorOptions);
    if (command == Command::Snapshot)
        return listed(kSnapshotOptions);
    return false;
}

bool IsKnown(std::string_view option)
{
    return IsAllowed(Command::Render, option) || IsAllowed(Command::Editor, option) ||
           IsAllowed(Command::Snapshot, option);
}

bool TakesValue(std::string_view option) { return option != "--double"; }

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

int ParseBlock(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > kMaxBlock) {
        throw UsageError("--block needs a whole number of frames from 1 to " + std::to_string(kMaxBlock) + ", not \"" +
                         std::string(text) + "\"");
    }
    return value;
}

double ParseRate(std::string_view text)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < kMinSampleRate ||
        value > kMaxSampleRate) {
        throw UsageError("--rate needs a sample rate from 8000 to 384000 Hz, not \"" + std::string(text) + "\"");
    }
    return value;
}

ParameterSetting ParseSetting(std::string_view text)
{
    const auto equals = text.find('=');
    if (equals == std::string_view::npos || Trim(text.substr(0, equals)).empty() ||
        Trim(text.substr(equals + 1)).empty()) {
        throw UsageError("--set needs \"NAME=VALUE\", not \"" + std::string(text) + "\"");
    }
    return {std::string(Trim(text.substr(0, equals))), std::string(Trim(text.substr(equals + 1)))};
}

// Exactly `count` comma-separated whole numbers, each within +-kMaxEventCoordinate.
std::vector<int> ParseNumbers(std::string_view option, std::string_view text, std::size_t count, std::string_view shape)
{
    const auto refuse = [&]() {
        return UsageError(std::string(option) + " needs " + std::string(shape) + " (whole numbers), not \"" +
                          std::string(text) + "\"");
    };
    std::vector<int> numbers;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        const std::string_view item = Trim(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        int value = 0;
        const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), value);
        if (item.empty() || error != std::errc() || end != item.data() + item.size() || value < -kMaxEventCoordinate ||
            value > kMaxEventCoordinate || numbers.size() == count) {
            throw refuse();
        }
        numbers.push_back(value);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (numbers.size() != count)
        throw refuse();
    return numbers;
}

EditorEvent ParseEvent(std::string_view option, std::string_view text)
{
    EditorEvent event;
    if (option == "--drag") {
        const auto n = ParseNumbers(option, text, 4, "X,Y,DX,DY");
        event = {EditorEvent::Kind::Drag, n[0], n[1], n[2], n[3], 0};
    } else if (option == "--wheel") {
        const auto n = ParseNumbers(option, text, 3, "X,Y,N");
        if (n[2] == 0 || n[2] < -kMaxWheelNotches || n[2] > kMaxWheelNotches) {
            throw UsageError("--wheel needs a number of notches from -1000 to 1000 other than 0, not \"" +
                             std::string(text) + "\"");
        }
        event = {EditorEvent::Kind::Wheel, n[0], n[1], 0, 0, n[2]};
    } else {
        const auto n = ParseNumbers(option, text, 2, "X,Y");
        const EditorEvent::Kind kind = option == "--hover"   ? EditorEvent::Kind::Hover
                                       : option == "--press" ? EditorEvent::Kind::Press
                                                             : EditorEvent::Kind::RightPress;
        event = {kind, n[0], n[1], 0, 0, 0};
    }
    return event;
}

void ApplyOption(CommandLine& line, std::string_view option, std::string_view value)
{
    if (option == "--plugin") {
        line.plugin = std::filesystem::path(value);
    } else if (option == "--rate") {
        line.rate = ParseRate(value);
    } else if (option == "--block") {
        line.block = ParseBlock(value);
    } else if (option == "--double") {
        line.doublePrecision = true;
    } else if (option == "--preset") {
        if (Trim(value).empty())
            throw UsageError("--preset needs a number or part of a preset name");
        line.preset = std::string(Trim(value));
    } else if (option == "--set") {
        line.settings.push_back(ParseSetting(value));
    } else if (option == "--state-in") {
        line.stateIn = std::filesystem::path(value);
    } else if (option == "--screenshot") {
        if (value.empty())
            throw UsageError("--screenshot needs a file name");
        line.screenshot = std::filesystem::path(value);
    } else if (option == "--after-ms") {
        int ms = -1;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), ms);
        if (error != std::errc() || end != value.data() + value.size() || ms < 0 || ms > 600000)
            throw UsageError("--after-ms needs a whole number of milliseconds from 0 to 600000, not \"" +
                             std::string(value) + "\"");
        line.afterMs = ms;
    } else if (option == "--hover" || option == "--press" || option == "--right-press" || option == "--drag" ||
               option == "--wheel") {
        line.events.push_back(ParseEvent(option, value));
    } else if (option == "--state-out") {
        line.stateOut = std::filesystem::path(value);
    }
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> arguments)
{
    CommandLine line;
    struct PendingOption {
        std::string_view option;
        std::string_view value;
    };
    std::vector<PendingOption> options;
    std::vector<std::string_view> positional;
    for (std::size_t next = 0; next < arguments.size(); ++next) {
        const std::string_view argument = arguments[next];
        if (argument == "--help" || argument == "-h") {
            line.command = Command::Help;
            return line;
        }
        if (!argument.starts_with("--") || argument == "--") {
            positional.push_back(argument);
            continue;
        }
        const auto equals = argument.find('=');
        const std::string_view option = argument.substr(0, equals);
        if (!IsKnown(option)) {
            throw UsageError("unknown option " + std::string(option));
        }
        if (!TakesValue(option)) {
            if (equals != std::string_view::npos)
                throw UsageError(std::string(option) + " takes no value");
            options.push_back({option, {}});
        } else if (equals != std::string_view::npos) {
            options.push_back({option, argument.substr(equals + 1)});
        } else if (next + 1 < arguments.size()) {
            options.push_back({option, arguments[++next]});
        } else {
            throw UsageError(std::string(option) + " needs a value");
        }
    }
    // The first word that is not an option or an option's value names the command.
    if (!positional.empty()) {
        for (const auto& name : kCommands) {
            if (positional.front() == name.word) {
                line.command = name.command;
                positional.erase(positional.begin());
                break;
            }
        }
    }
    for (const auto& pending : options) {
        if (!IsAllowed(line.command, pending.option)) {
            throw UsageError("unknown option " + std::string(pending.option) + " for this command");
        }
        ApplyOption(line, pending.option, pending.value);
    }
    if (line.command == Command::Render) {
        if (positional.size() != 2)
            throw UsageError("render needs an input and an output file: render IN.wav OUT.wav");
        line.input = std::filesystem::path(positional[0]);
        line.output = std::filesystem::path(positional[1]);
        if (IsStandardStream(line.input) && line.stateIn && IsStandardStream(*line.stateIn))
            throw UsageError("the input and --state-in cannot both be standard input (-)");
        if (IsStandardStream(line.output) && line.stateOut && IsStandardStream(*line.stateOut))
            throw UsageError("the output and --state-out cannot both be standard output (-)");
    } else if (line.command == Command::Snapshot) {
        if (positional.size() != 1)
            throw UsageError("snapshot needs one output file: snapshot OUT.png");
        line.output = std::filesystem::path(positional[0]);
    } else if (!positional.empty()) {
        throw UsageError("unexpected argument \"" + std::string(positional[0]) + "\"");
    }
    return line;
}

std::string UsageText()
{
    return R"(Usage: vibrascend-render [COMMAND] [OPTIONS]

Loads the Vibrascend VST3 bundle as a host does and renders audio through it.

Commands:
  (none) | demo            render an 8-second demo through preset 73 into vibrascend-demo.wav
  render IN.wav OUT.wav    process IN.wav (16/24/32-bit PCM or 32-bit float, mono or stereo)
                           into OUT.wav (32-bit float, same rate and channels); "-" for IN
                           or OUT is standard input or output (render - - <in.wav >out.wav).
                           A file OUT is replaced only once complete, keeping its permissions
                           (a read-only one is refused); a link writes its target; a pipe or
                           device is written as a stream
  params                   list the parameters the plug-in shows a host
  presets                  list the plug-in's program list
  editor                   open the plug-in's editor in a window of its own until it is closed
  snapshot OUT.png         draw the editor (434 x 480) without a window into a PNG file, after
                           the preset, settings and mouse events given
  help | --help            show this text

Options:
  --plugin PATH        the bundle folder (.vst3) or its .so, absolute or relative to the current
                       folder (default: the build's bundle)
  --preset N|TEXT      (render, snapshot, editor) preset number, or part of its name
  --set "NAME=VALUE"   (render, snapshot, editor; repeatable) parameter by title, value in its display units
                       or one of its value texts; applied after --preset
  --rate HZ            sample rate the plug-in is told (8000-384000); no resampling is done,
                       the output keeps the input's rate (demo: the rate it is made at)
  --block N            frames per process call, 1-65536 (default 512)
  --double             process in 64-bit floating point
  --state-in FILE      (render) load a component state before processing ("-": standard input)
  --state-out FILE     (render) save the component state after processing, written as OUT is
                       ("-": standard output)
  --screenshot FILE    (editor) save what the editor window shows as a PNG file and exit
  --after-ms N         (editor) how long after opening the screenshot is taken (default 1000)
  --hover X,Y          (snapshot, repeatable, like the events below) move the mouse over X,Y
  --press X,Y          (snapshot) left button down and up at X,Y
  --right-press X,Y    (snapshot) right button down and up at X,Y
  --drag X,Y,DX,DY     (snapshot) left button down at X,Y, move to X+DX,Y+DY, up
  --wheel X,Y,N        (snapshot) N wheel notches at X,Y (positive upwards)
                       Events run in command-line order, after --preset and --set; X,Y lie
                       inside the editor, 0-433 and 0-479.
)";
}

}  // namespace vibrascend::host
