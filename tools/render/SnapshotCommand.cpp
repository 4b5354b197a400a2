// vibrascend-render snapshot: the editor drawn without a window. The preset and settings reach
// the plug-in as parameter changes of a process call, as in a render, so the editor shows them
// the way it follows host automation; the scripted mouse events and the frame go through the
// editor view's private snapshot face.
#include "Commands.h"
#include "InitialSettings.h"

#include "framework/vst3/IEditorSnapshot.h"
#include "HostError.h"
#include "PluginInstance.h"
#include "PngFile.h"
#include "Selection.h"

#include <pluginterfaces/gui/iplugview.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vibrascend::render {

using namespace vibrascend::host;
using Snapshot = Vibrascend::IEditorSnapshot;

namespace {

void CheckInside(const EditorEvent& event, int width, int height)
{
    if (event.x < 0 || event.y < 0 || event.x >= width || event.y >= height) {
        throw UsageError("event at " + std::to_string(event.x) + "," + std::to_string(event.y) +
                         " lies outside the editor (0-" + std::to_string(width - 1) + ", 0-" +
                         std::to_string(height - 1) + ")");
    }
}

void Send(Snapshot& snapshot, Steinberg::int32 kind, int x, int y, int notches = 0)
{
    if (snapshot.mouseEvent(kind, x, y, notches, 0) != Steinberg::kResultOk) {
        throw HostError("the editor refused a mouse event");
    }
}

void Play(Snapshot& snapshot, const EditorEvent& event)
{
    switch (event.kind) {
    case EditorEvent::Kind::Hover: Send(snapshot, Snapshot::kMouseOver, event.x, event.y); break;
    case EditorEvent::Kind::Press:
        Send(snapshot, Snapshot::kLeftDown, event.x, event.y);
        Send(snapshot, Snapshot::kLeftUp, event.x, event.y);
        break;
    case EditorEvent::Kind::RightPress:
        Send(snapshot, Snapshot::kRightDown, event.x, event.y);
        Send(snapshot, Snapshot::kRightUp, event.x, event.y);
        break;
    case EditorEvent::Kind::Drag:
        Send(snapshot, Snapshot::kLeftDown, event.x, event.y);
        Send(snapshot, Snapshot::kDrag, event.x + event.dx, event.y + event.dy);
        Send(snapshot, Snapshot::kLeftUp, event.x + event.dx, event.y + event.dy);
        break;
    case EditorEvent::Kind::Wheel: Send(snapshot, Snapshot::kWheel, event.x, event.y, event.notches); break;
    }
}

}  // namespace

void RunSnapshot(const CommandLine& line, const std::filesystem::path& bundle)
{
    PluginInstance plugin(bundle, "vibrascend-render");
    std::string applied;
    ApplySettings(plugin, line, applied);

    const Steinberg::IPtr<Steinberg::IPlugView> view = Steinberg::owned(plugin.EditController()->createView("editor"));
    const Steinberg::FUnknownPtr<Snapshot> snapshot(view);
    Steinberg::ViewRect size;
    if (!view || !snapshot || view->getSize(&size) != Steinberg::kResultOk || size.getWidth() <= 0 ||
        size.getHeight() <= 0) {
        throw HostError(plugin.ClassName() + " offers no editor that can be drawn without a window");
    }
    for (const EditorEvent& event : line.events)
        CheckInside(event, size.getWidth(), size.getHeight());
    for (const EditorEvent& event : line.events)
        Play(*snapshot, event);

    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.getWidth()) * size.getHeight());
    Steinberg::int32 width = 0, height = 0;
    if (snapshot->capture(pixels.data(), static_cast<Steinberg::int32>(pixels.size()), width, height) !=
            Steinberg::kResultOk ||
        width != size.getWidth() || height != size.getHeight()) {
        throw HostError("the editor could not draw a frame");
    }
    WritePng(line.output, pixels, width, height);
    std::printf("Drew the editor of \"%s\" (%d x %d)%s after %zu mouse event(s) into %s\n", plugin.ClassName().c_str(),
                width, height, applied.c_str(), line.events.size(), line.output.string().c_str());
}

}  // namespace vibrascend::render
