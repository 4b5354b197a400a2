// vibrascend-render: loads the Vibrascend bundle as a VST3 host and renders audio through it.
#include "bundle_location.h"
#include "command_line.h"
#include "commands.h"
#include "host_error.h"

#include <cstdio>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    using namespace vibrascend;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    try {
        const host::CommandLine line = host::parseCommandLine(arguments);
        switch (line.command) {
            case host::Command::Help:
                std::fputs(host::usageText().c_str(), stdout);
                break;
            case host::Command::Demo:
                render::runDemo(line, render::locateBundle(line.plugin));
                break;
            case host::Command::Render:
                render::runRender(line, render::locateBundle(line.plugin));
                break;
            case host::Command::Params:
                render::runParams(render::locateBundle(line.plugin));
                break;
            case host::Command::Presets:
                render::runPresets(render::locateBundle(line.plugin));
                break;
            case host::Command::Editor:
#if defined(VIBRASCEND_EDITOR_COMMAND)
                render::runEditor(line, render::locateBundle(line.plugin));
                break;
#else
                throw host::HostError("this build of vibrascend-render has no host window for the editor");
#endif
            case host::Command::Snapshot:
                render::runSnapshot(line, render::locateBundle(line.plugin));
                break;
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
