// vibrascend-render: loads the Vibrascend bundle as a VST3 host and renders audio through it.
#include "BundleLocation.h"
#include "CommandLine.h"
#include "Commands.h"
#include "HostError.h"
#include "ModuleInfoCommand.h"

#include <cstdio>
#include <span>
#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    using namespace vibrascend;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    try {
        if (!arguments.empty() && arguments.front() == render::kModuleInfoCommand) {
            render::RunModuleInfo(std::span(arguments).subspan(1));
            return 0;
        }
        const host::CommandLine line = host::ParseCommandLine(arguments);
        switch (line.command) {
        case host::Command::Help: std::fputs(host::UsageText().c_str(), stdout); break;
        case host::Command::Demo: render::RunDemo(line, render::LocateBundle(line.plugin)); break;
        case host::Command::Render: render::RunRender(line, render::LocateBundle(line.plugin)); break;
        case host::Command::Params: render::RunParams(render::LocateBundle(line.plugin)); break;
        case host::Command::Presets: render::RunPresets(render::LocateBundle(line.plugin)); break;
        case host::Command::Editor: render::RunEditor(line, render::LocateBundle(line.plugin)); break;
        case host::Command::Snapshot: render::RunSnapshot(line, render::LocateBundle(line.plugin)); break;
        }
    } catch (const host::UsageError& error) {
        std::fprintf(stderr, "vibrascend-render: %s (see: vibrascend-render --help)\n", error.what());
        return 2;
    } catch (const host::HostError& error) {
        std::fprintf(stderr, "vibrascend-render: %s\n", error.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vibrascend-render: internal error: %s\n", error.what());
        return 1;
    }
    return 0;
}
