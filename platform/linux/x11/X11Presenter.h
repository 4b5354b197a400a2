// X11Presenter: copies a rectangle of a 32-bit top-row-first pixel buffer (A<<24|R<<16|G<<8|B)
// to a window of a 24-bit true-colour visual, either through the connection (XPutImage) or
// through a shared-memory image (MIT-SHM, local servers only). Used by the editor window and
// by the present benchmark that chose the default method.
#pragma once

#include "graphics/IBox.h"

#include <X11/Xlib.h>

#include <cstdint>

class X11Presenter {
public:
    enum class Method {
        PutImage,
        SharedMemory
    };

    // window is drawn with gc; width x height is the largest buffer ever presented.
    X11Presenter(Display* display, Window window, GC gc, Visual* visual, int width, int height);
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // Asks for a method; SharedMemory falls back to PutImage when the server cannot share.
    // Answers the method now in use.
    Method Use(Method method);
    Method InUse() const { return sharedSegment >= 0 ? Method::SharedMemory : Method::PutImage; }

    // Copies rect (clipped to the buffer) of pixels (rowSpan pixels per row, bufferWidth x
    // bufferHeight) to the same place in the window. Nothing is sent for an empty rectangle.
    void Present(const std::uint32_t* pixels, int rowSpan, int bufferWidth, int bufferHeight, const IBox& rect);

private:
    bool AttachShared();
    void DetachShared();

    Display* display;
    Window window;
    GC gc;
    Visual* visual;
    int width;
    int height;
    int sharedSegment = -1;  // shared-memory id, -1 when not sharing
    void* sharedInfo = nullptr;  // the XShmSegmentInfo
    XImage* sharedImage = nullptr;
};
