// X11EditorWindow: the editor's child window inside the host's X window, on a display
// connection of its own, with the child window of the value-entry box. It turns the
// connection's events into EditorWindowEvents and copies pixel buffers to the screen. X errors
// are trapped; after the connection breaks or the window is destroyed under it, every
// operation does nothing.
#pragma once

#include "graphics/IBox.h"
#include "platform/linux/x11/EditorWindowEvent.h"

#include <cstdint>
#include <memory>

class PIX_IBitmap;
class X11Presenter;
struct _XDisplay;
struct _XGC;

class X11EditorWindow {
public:
    // Connects to the default display and opens a width x height child of parent at (x, y).
    // Null without a display, with a parent that does not exist, or without a 24-bit
    // true-colour visual.
    static std::unique_ptr<X11EditorWindow> Open(unsigned long parent, int x, int y, int width, int height);
    ~X11EditorWindow();
    X11EditorWindow(const X11EditorWindow&) = delete;
    X11EditorWindow& operator=(const X11EditorWindow&) = delete;

    // The connection's file descriptor, for the host's run loop.
    int Descriptor() const { return descriptor; }
    unsigned long Id() const { return window; }
    // False once the connection broke or the window was destroyed under us.
    bool Usable() const { return !lost && window != 0; }
    // Position in the parent and size.
    IBox Placement() const;

    // Takes the next event waiting on the connection that concerns the editor; false when none
    // is left. Never blocks.
    bool Next(EditorWindowEvent& out);
    // Copies rect of the buffer to the same place in the window.
    void Present(const PIX_IBitmap& buffer, const IBox& rect);
    // A host may make the window larger than the buffer. Paints the part of rect that lies in the
    // window but beyond the buffer with the buffer's edge carried on: each row right of it in the
    // colour of its last column, each column below it in the colour of its last row.
    void PaintBeyond(const PIX_IBitmap& buffer, const IBox& rect);
    // The window's size as the server last reported it.
    int ShownWidth() const { return shownWidth; }
    int ShownHeight() const { return shownHeight; }
    // Maps or unmaps the window; false when it is no longer usable.
    bool Map(bool shown);
    // Gives the keyboard focus to the editor, or to the value-entry box when it is open.
    void TakeFocus(bool toEntry, unsigned long time);

    // The value-entry box: a child of the editor window covering area (editor pixels).
    bool OpenEntry(const IBox& area);
    void PlaceEntry(const IBox& area);
    void PresentEntry(const PIX_IBitmap& pixels);
    void CloseEntry();
    bool EntryOpen() const { return entry != 0; }

    // The present method in use ("PutImage" or "SharedMemory").
    const char* PresentMethod() const;
    // Switches between shared memory and the connection; answers whether the wish was granted.
    bool UseSharedMemory(bool shared);
    // Waits until the server has handled everything sent so far.
    void Sync();

private:
    X11EditorWindow() = default;
    // Fills out from an X event; false for events the editor ignores.
    bool Translate(const void* xevent, EditorWindowEvent& out);
    static void OnConnectionLost(_XDisplay* display, void* self);

    _XDisplay* display = nullptr;
    _XGC* gc = nullptr;
    void* visual = nullptr;
    unsigned long colormap = 0;
    unsigned long window = 0;
    unsigned long entry = 0;
    int descriptor = -1;
    int width = 0;
    int height = 0;
    int shownWidth = 0;
    int shownHeight = 0;
    IBox entryArea;
    bool lost = false;
    std::unique_ptr<X11Presenter> presenter;
};
