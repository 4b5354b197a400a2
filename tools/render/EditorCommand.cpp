// vibrascend-render editor: the plug-in's editor in a top-level window of its own, driven by a
// poll loop as a DAW's UI thread drives it, until the window is closed or the screenshot is saved.
#include "Commands.h"

#include "EditorSession.h"
#include "HostError.h"
#include "InitialSettings.h"
#include "PluginInstance.h"
#include "PngFile.h"
#include "platform/linux/x11host/X11HostWindow.h"
#include "RunLoopFrame.h"

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
    std::unique_ptr<X11HostWindow> window = X11HostWindow::Open(plugin.ClassName().c_str(), 434, 480);
    if (!window)
        throw host::HostError("cannot open a window: no X display (is DISPLAY set?)");
    host::RunLoopFrame frame;
    host::EditorSession session(plugin.EditController(), frame, window->Id());
    const Steinberg::ViewRect size = session.Size();
    window->Resize(size.getWidth(), size.getHeight());

    using Clock = std::chrono::steady_clock;
    const Clock::time_point shotAt = Clock::now() + std::chrono::milliseconds(line.afterMs);
    while (window->Pump()) {
        frame.RunOnce(20, window->Descriptor());
        if (line.screenshot && Clock::now() >= shotAt) {
            int width = 0, height = 0;
            const std::vector<std::uint32_t> pixels = window->Capture(width, height);
            WritePng(*line.screenshot, pixels, width, height);
            std::printf("saved the editor window (%d x %d) to %s\n", width, height, line.screenshot->c_str());
            return;
        }
    }
}

}  // namespace vibrascend::render
