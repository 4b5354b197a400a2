// Win32HostWindow: a top-level window of a host application, the container a plug-in's editor
// is attached to as an "HWND" parent. It pumps the thread's messages, reports when the user
// closes it and reads back what it shows.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class Win32HostWindow {
public:
    // A window with a client area of width x height at (left, top) of the screen, titled title;
    // null when the window cannot be made.
    static std::unique_ptr<Win32HostWindow> Open(const char* title, int width, int height, int left = 0, int top = 0);
    ~Win32HostWindow();
    Win32HostWindow(const Win32HostWindow&) = delete;
    Win32HostWindow& operator=(const Win32HostWindow&) = delete;

    // The window's handle (an HWND), the parent a view is attached to; null once destroyed.
    void* Handle() const { return window; }
    // Dispatches the messages waiting for this thread, the editor's included; false once the
    // user closed the window.
    bool Pump();
    // Keeps dispatching messages for ms milliseconds, as a host's UI thread does; false once the
    // window was closed.
    bool PumpFor(int ms);
    // Gives the client area a new size.
    void Resize(int width, int height);
    // The client area as the screen shows it, child windows included: width x height pixels,
    // top row first, 0xFFRRGGBB. Empty when the window cannot be read.
    std::vector<std::uint32_t> Capture(int& width, int& height);
    // Maps a client point of this window to screen coordinates.
    void ClientToScreen(int& x, int& y) const;

private:
    Win32HostWindow() = default;
    friend struct HostWindowProcedure;

    void* window = nullptr;
    bool open = true;
};
