#include "Lv2TurtleCommandLine.h"

#include <cstring>
#include <optional>

namespace vibrascend::lv2turtle {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

Lv2TurtleCommand Refused(std::string error)
{
    Lv2TurtleCommand command;
    command.error = std::move(error);
    return command;
}

}  // namespace

bool IsPluginUri(std::string_view uri)
{
    const std::size_t colon = uri.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 == uri.size() || !IsAsciiLetter(uri.front()))
        return false;
    for (const char c : uri.substr(0, colon))
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '+' && c != '-' && c != '.')
            return false;
    for (const char c : uri)
        if (c <= ' ' || c >= 0x7F || std::strchr("<>\"{}|^`\\#", c))
            return false;
    return true;
}

bool IsBinaryFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (const char c : name)
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '.' && c != '_' && c != '-')
            return false;
    return true;
}

Lv2TurtleCommand ParseLv2TurtleCommandLine(const std::vector<std::string>& arguments)
{
    if (arguments.size() == 1 && arguments[0] == "--help") {
        Lv2TurtleCommand command;
        command.help = true;
        return command;
    }
    std::optional<std::string> outDir, uri, binary, version;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::optional<std::string>* option = argument == "--uri"       ? &uri
                                             : argument == "--binary"  ? &binary
                                             : argument == "--version" ? &version
                                                                       : nullptr;
        if (option) {
            if (*option)
                return Refused(argument + " is given twice");
            if (i + 1 == arguments.size())
                return Refused(argument + " needs a value");
            *option = arguments[++i];
        } else if (argument.size() > 1 && argument.front() == '-') {
            return Refused("unknown option " + argument + " (--help lists them)");
        } else if (outDir) {
            return Refused("one output folder only, not also " + argument);
        } else if (argument.empty()) {
            return Refused("the output folder is an empty name");
        } else {
            outDir = argument;
        }
    }
    if (!outDir)
        return Refused("no output folder given (--help shows the usage)");
    if (!uri || !binary || !version)
        return Refused(std::string("missing ") + (!uri ? "--uri" : !binary ? "--binary" : "--version") +
                       " (--help shows the usage)");
    if (!IsPluginUri(*uri))
        return Refused("--uri " + *uri + " is no absolute URI without spaces, '#' or <>\"{}|^`\\");
    if (!IsBinaryFileName(*binary))
        return Refused("--binary " + *binary + " is no plain file name of letters, digits, '.', '_' and '-'");
    const std::optional<ReleaseNumber> release = ParseReleaseNumber(*version);
    if (!release)
        return Refused("--version " + *version + " is not MAJOR.MINOR.MICRO");

    Lv2TurtleCommand command;
    command.options = {*outDir, *uri, *binary, *release};
    return command;
}

}  // namespace vibrascend::lv2turtle
