// The host side of an open editor on this platform: a top-level window of the desktop's window
// system, the frame a view is given and the loop that drives both. X11 desktops have the view's
// window served by the host's run loop; on Windows the window's own timer drives the editor and
// the host only dispatches messages.
#pragma once

#include <pluginterfaces/gui/iplugview.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vibrascend::host {

class EditorHost {
public:
    // A width x height window titled title at (left, top) of the screen; null when the desktop is
    // out of reach.
    static std::unique_ptr<EditorHost> Open(const std::string& title, int width, int height, int left = 0, int top = 0);
    // Why Open answered null, in words for the user.
    static const char* UnavailableReason();

    virtual ~EditorHost() = default;

    // The window type views are attached with ("X11EmbedWindowID", "HWND") and the window itself.
    virtual Steinberg::FIDString PlatformType() const = 0;
    virtual void* ParentWindow() const = 0;
    virtual Steinberg::IPlugFrame& Frame() = 0;
    // Gives the window's client area a new size.
    virtual void Resize(int width, int height) = 0;
    // Drives the window and the editor for ms milliseconds; false once the user closed the window.
    virtual bool RunFor(int ms) = 0;
    // What the window shows, children included: 0xFFRRGGBB, top row first; empty when unreadable.
    virtual std::vector<std::uint32_t> Capture(int& width, int& height) = 0;
};

}  // namespace vibrascend::host
