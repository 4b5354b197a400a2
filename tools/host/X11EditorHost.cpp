// The editor host of X11 desktops: an X11HostWindow with the run loop the view's window
// registers its descriptor and timer with.
#include "EditorHost.h"

#include "tools/hostkit/x11/X11HostWindow.h"
#include "RunLoopFrame.h"

#include <chrono>

namespace vibrascend::host {

namespace {

class X11EditorHost final : public EditorHost {
public:
    explicit X11EditorHost(std::unique_ptr<X11HostWindow> window) : window(std::move(window)) {}

    Steinberg::FIDString PlatformType() const override { return Steinberg::kPlatformTypeX11EmbedWindowID; }
    void* ParentWindow() const override { return window->Handle(); }
    Steinberg::IPlugFrame& Frame() override { return frame; }
    void Resize(int width, int height) override { window->Resize(width, height); }
    bool RunFor(int ms) override
    {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
        do {
            if (!window->Pump())
                return false;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            frame.RunOnce(static_cast<int>(left > 0 ? left : 0), window->Descriptor());
        } while (Clock::now() < end);
        return window->Pump();
    }
    std::vector<std::uint32_t> Capture(int& width, int& height) override
    {
        window->Sync();
        return window->Capture(width, height);
    }

private:
    std::unique_ptr<X11HostWindow> window;
    RunLoopFrame frame;
};

}  // namespace

std::unique_ptr<EditorHost> EditorHost::Open(const std::string& title, int width, int height, int, int)
{
    std::unique_ptr<X11HostWindow> window = X11HostWindow::Open(title.c_str(), width, height);
    if (!window)
        return nullptr;
    return std::make_unique<X11EditorHost>(std::move(window));
}

const char* EditorHost::UnavailableReason() { return "cannot open a window: no X display (is DISPLAY set?)"; }

}  // namespace vibrascend::host
