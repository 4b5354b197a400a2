#include "tools/hostkit/x11/X11HostWindow.h"

#include "platform/linux/XErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

std::unique_ptr<X11HostWindow> X11HostWindow::Open(const char* title, int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    std::unique_ptr<X11HostWindow> self(new X11HostWindow());
    self->display = display;
    XErrorTrap trap(display);
    const int screen = DefaultScreen(display);
    self->window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, self->window, title ? title : "");
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(display, self->window, &hints);
    Atom deleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, self->window, &deleteAtom, 1);
    self->deleteAtom = deleteAtom;
    XSelectInput(display, self->window, StructureNotifyMask);
    XMapWindow(display, self->window);
    if (trap.SyncFailed())
        return nullptr;
    // Wait until the window is on screen, so children can be shown and read back at once.
    for (int i = 0; i < 200; ++i) {
        XEvent event;
        if (XCheckTypedWindowEvent(display, self->window, MapNotify, &event))
            break;
        XSync(display, False);
        struct timespec pause {
            0, 5'000'000
        };
        nanosleep(&pause, nullptr);
    }
    return self;
}

X11HostWindow::~X11HostWindow()
{
    if (!display)
        return;
    {
        XErrorTrap trap(display);
        if (window)
            XDestroyWindow(display, window);
        XSync(display, False);
    }
    XCloseDisplay(display);
}

int X11HostWindow::Descriptor() const { return ConnectionNumber(display); }

bool X11HostWindow::Pump()
{
    XErrorTrap trap(display);
    while (open && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == ClientMessage && static_cast<unsigned long>(event.xclient.data.l[0]) == deleteAtom)
            open = false;
        if (event.type == DestroyNotify && event.xdestroywindow.window == window) {
            open = false;
            window = 0;
        }
    }
    return open;
}

void X11HostWindow::Sync()
{
    XErrorTrap trap(display);
    XSync(display, False);
}

std::vector<std::uint32_t> X11HostWindow::Capture(int& width, int& height)
{
    width = height = 0;
    if (!window)
        return {};
    XErrorTrap trap(display);
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, window, &a) || trap.SyncFailed())
        return {};
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                              AllPlanes, ZPixmap);
    if (!image || trap.SyncFailed()) {
        if (image)
            XDestroyImage(image);
        return {};
    }
    std::vector<std::uint32_t> pixels(static_cast<size_t>(a.width) * static_cast<size_t>(a.height));
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            pixels[static_cast<size_t>(y) * static_cast<size_t>(a.width) + static_cast<size_t>(x)] =
                0xFF000000u | (static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
    XDestroyImage(image);
    width = a.width;
    height = a.height;
    return pixels;
}

void X11HostWindow::FitChildren()
{
    if (!window)
        return;
    XErrorTrap trap(display);
    XWindowAttributes own;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XGetWindowAttributes(display, window, &own) ||
        !XQueryTree(display, window, &root, &parent, &children, &count))
        return;
    for (unsigned int i = 0; i < count; ++i)
        XResizeWindow(display, children[i], static_cast<unsigned>(own.width), static_cast<unsigned>(own.height));
    if (children)
        XFree(children);
    XSync(display, False);
}

void X11HostWindow::Resize(int width, int height)
{
    if (!window || width <= 0 || height <= 0)
        return;
    XErrorTrap trap(display);
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(display, window, &hints);
    XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display, False);
}
