// X11HostWindow: a top-level X window of a host application, the container a plug-in's editor
// embeds into. It reports when the user closes it and reads back what it shows.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct _XDisplay;

class X11HostWindow {
public:
    // A width x height window titled title on the default display; null without a display.
    static std::unique_ptr<X11HostWindow> Open(const char* title, int width, int height);
    ~X11HostWindow();
    X11HostWindow(const X11HostWindow&) = delete;
    X11HostWindow& operator=(const X11HostWindow&) = delete;

    unsigned long Id() const { return window; }
    // The window id as IPlugView::attached takes it for "X11EmbedWindowID".
    void* Handle() const { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window)); }
    int Descriptor() const;
    // Reads the waiting events; false once the user asked to close the window or the
    // connection broke.
    bool Pump();
    // Waits until the server has handled everything sent so far.
    void Sync();
    // Gives the window a new fixed size.
    void Resize(int width, int height);
    // Gives every embedded window the window's own size, as hosts do that fit the editor to
    // their frame.
    void FitChildren();
    // What the window shows now, children included: width x height pixels, top row first,
    // 0xFFRRGGBB. Empty when the window cannot be read (for example while unmapped).
    std::vector<std::uint32_t> Capture(int& width, int& height);

private:
    X11HostWindow() = default;

    _XDisplay* display = nullptr;
    unsigned long window = 0;
    unsigned long deleteAtom = 0;
    bool open = true;
};
