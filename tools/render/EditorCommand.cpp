// vibrascend-render editor: the plug-in's editor in a top-level window of its own, driven as a
// DAW's UI thread drives it, until the window is closed or the screenshot is saved.
#include "Commands.h"

#include "EditorHost.h"
#include "EditorSession.h"
#include "HostError.h"
#include "InitialSettings.h"
#include "PluginInstance.h"
#include "PngFile.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace vibrascend::render {

void RunEditor(const host::CommandLine& line, const std::filesystem::path& bundle)
{
    host::PluginInstance plugin(bundle, "vibrascend-render");
    std::string applied;
    ApplySettings(plugin, line, applied);
    if (!applied.empty())
        std::printf("editor opened%s\n", applied.c_str());
    std::unique_ptr<host::EditorHost> window = host::EditorHost::Open(plugin.ClassName(), 434, 480);
    if (!window)
        throw host::HostError(host::EditorHost::UnavailableReason());
    host::EditorSession session(plugin.EditController(), window->Frame(), window->ParentWindow(),
                                window->PlatformType());
    const Steinberg::ViewRect size = session.Size();
    window->Resize(size.getWidth(), size.getHeight());

    using Clock = std::chrono::steady_clock;
    const Clock::time_point shotAt = Clock::now() + std::chrono::milliseconds(line.afterMs);
    while (window->RunFor(20)) {
        if (line.screenshot && Clock::now() >= shotAt) {
            int width = 0, height = 0;
            const std::vector<std::uint32_t> pixels = window->Capture(width, height);
            if (pixels.empty())
                throw host::HostError("cannot read the editor window back");
            WritePng(*line.screenshot, pixels, width, height);
            std::printf("saved the editor window (%d x %d) to %s\n", width, height, line.screenshot->string().c_str());
            return;
        }
    }
}

}  // namespace vibrascend::render
