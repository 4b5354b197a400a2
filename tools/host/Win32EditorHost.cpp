// The editor host of Windows: a Win32HostWindow whose message pump is all the editor needs
// (its window runs its own timer), and a frame without a run loop.
#include "EditorHost.h"

#include "PlugFrame.h"
#include "tools/hostkit/win32/Win32HostWindow.h"

namespace vibrascend::host {

namespace {

class Win32EditorHost final : public EditorHost {
public:
    explicit Win32EditorHost(std::unique_ptr<Win32HostWindow> window) : window(std::move(window)) {}

    Steinberg::FIDString PlatformType() const override { return Steinberg::kPlatformTypeHWND; }
    void* ParentWindow() const override { return window->Handle(); }
    Steinberg::IPlugFrame& Frame() override { return frame; }
    void Resize(int width, int height) override { window->Resize(width, height); }
    bool RunFor(int ms) override { return window->PumpFor(ms); }
    std::vector<std::uint32_t> Capture(int& width, int& height) override { return window->Capture(width, height); }

private:
    std::unique_ptr<Win32HostWindow> window;
    PlugFrame frame;
};

}  // namespace

std::unique_ptr<EditorHost> EditorHost::Open(const std::string& title, int width, int height, int left, int top)
{
    std::unique_ptr<Win32HostWindow> window = Win32HostWindow::Open(title.c_str(), width, height, left, top);
    if (!window)
        return nullptr;
    return std::make_unique<Win32EditorHost>(std::move(window));
}

const char* EditorHost::UnavailableReason() { return "cannot open a window: no desktop to open it on"; }

}  // namespace vibrascend::host
