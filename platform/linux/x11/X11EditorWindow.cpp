#include "platform/linux/x11/X11EditorWindow.h"

#include "graphics/PIX_IBitmap.h"
#include "platform/linux/x11/EditorKeys.h"
#include "platform/linux/x11/X11Presenter.h"
#include "platform/linux/XErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr long kEditorEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                               LeaveWindowMask | KeyPressMask | FocusChangeMask | StructureNotifyMask;
constexpr long kEntryEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask | FocusChangeMask;

IMouseState StateOf(unsigned int state)
{
    return IMouseState{(state & Button1Mask) != 0, (state & Button3Mask) != 0, (state & ShiftMask) != 0,
                       (state & ControlMask) != 0, (state & Mod1Mask) != 0};
}

EntryKey EntryKeyOf(KeySym keysym, const char* text)
{
    switch (keysym) {
    case XK_Return:
    case XK_KP_Enter: return EntryKey::Enter;
    case XK_Escape: return EntryKey::Escape;
    case XK_BackSpace: return EntryKey::Backspace;
    case XK_Delete:
    case XK_KP_Delete: return EntryKey::Delete;
    case XK_Left:
    case XK_KP_Left: return EntryKey::Left;
    case XK_Right:
    case XK_KP_Right: return EntryKey::Right;
    case XK_Home:
    case XK_KP_Home: return EntryKey::Home;
    case XK_End:
    case XK_KP_End: return EntryKey::End;
    case XK_Up:
    case XK_KP_Up: return EntryKey::Up;
    case XK_Down:
    case XK_KP_Down: return EntryKey::Down;
    default: break;
    }
    const auto c = static_cast<unsigned char>(text[0]);
    return c >= 0x20 && c != 0x7F ? EntryKey::Text : EntryKey::Unmapped;
}

// Focus changes that concern the window itself, not the pointer or a grab.
bool RealFocusChange(const XFocusChangeEvent& e)
{
    return (e.mode == NotifyNormal || e.mode == NotifyWhileGrabbed) && e.detail != NotifyPointer &&
           e.detail != NotifyPointerRoot && e.detail != NotifyDetailNone && e.detail != NotifyInferior;
}

}  // namespace

std::unique_ptr<X11EditorWindow> X11EditorWindow::Open(unsigned long parent, int x, int y, int width, int height)
{
    if (parent == 0 || width <= 0 || height <= 0)
        return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    std::unique_ptr<X11EditorWindow> self(new X11EditorWindow());
    self->display = display;
    self->descriptor = ConnectionNumber(display);
    self->width = self->shownWidth = width;
    self->height = self->shownHeight = height;
    XSetIOErrorExitHandler(display, &X11EditorWindow::OnConnectionLost, self.get());

    XErrorTrap trap(display);
    XWindowAttributes parentAttributes;
    if (!XGetWindowAttributes(display, parent, &parentAttributes) || trap.SyncFailed())
        return nullptr;
    XVisualInfo info;
    if (!XMatchVisualInfo(display, DefaultScreen(display), 24, TrueColor, &info) || info.red_mask != 0xFF0000 ||
        info.green_mask != 0x00FF00 || info.blue_mask != 0x0000FF)
        return nullptr;
    self->visual = info.visual;
    self->colormap = XCreateColormap(display, parent, info.visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = self->colormap;
    attributes.border_pixel = 0;
    attributes.background_pixmap = None;
    attributes.event_mask = kEditorEvents;
    self->window =
        XCreateWindow(display, parent, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 24,
                      InputOutput, info.visual, CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attributes);
    if (trap.SyncFailed()) {
        self->window = 0;
        return nullptr;
    }
    self->gc = XCreateGC(display, self->window, 0, nullptr);
    XMapWindow(display, self->window);
    if (trap.SyncFailed())
        return nullptr;
    self->presenter = std::make_unique<X11Presenter>(display, self->window, self->gc, info.visual, width, height);
    self->presenter->Use(X11Presenter::Method::SharedMemory);
    return self;
}

X11EditorWindow::~X11EditorWindow()
{
    if (!display)
        return;
    if (!lost) {
        XErrorTrap trap(display);
        presenter.reset();
        if (entry)
            XDestroyWindow(display, entry);
        if (window)
            XDestroyWindow(display, window);
        if (gc)
            XFreeGC(display, gc);
        if (colormap)
            XFreeColormap(display, colormap);
        XSync(display, False);
    } else {
        presenter.reset();
    }
    XCloseDisplay(display);
}

void X11EditorWindow::OnConnectionLost(_XDisplay*, void* self) { static_cast<X11EditorWindow*>(self)->lost = true; }

IBox X11EditorWindow::Placement() const
{
    if (!Usable())
        return IBox{0, 0, width, height};
    XErrorTrap trap(display);
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, window, &a) || trap.SyncFailed())
        return IBox{0, 0, width, height};
    return IBox{a.x, a.y, a.x + a.width, a.y + a.height};
}

bool X11EditorWindow::Next(EditorWindowEvent& out)
{
    if (!display || lost)
        return false;
    XErrorTrap trap(display);
    while (!lost && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (Translate(&event, out))
            return true;
    }
    if (lost) {
        out = EditorWindowEvent{};
        out.kind = EditorWindowEvent::Kind::ConnectionLost;
        window = 0;
        entry = 0;
        presenter.reset();
        return true;
    }
    return false;
}

bool X11EditorWindow::Translate(const void* raw, EditorWindowEvent& out)
{
    const XEvent& event = *static_cast<const XEvent*>(raw);
    if (window == 0 || (event.xany.window != window && (entry == 0 || event.xany.window != entry)))
        return false;
    out = EditorWindowEvent{};
    out.inEntry = entry != 0 && event.xany.window == entry;
    switch (event.type) {
    case ButtonPress:
    case ButtonRelease: {
        const XButtonEvent& e = event.xbutton;
        out.kind = event.type == ButtonPress ? EditorWindowEvent::Kind::Press : EditorWindowEvent::Kind::Release;
        out.x = e.x;
        out.y = e.y;
        out.button = static_cast<int>(e.button);
        out.time = e.time;
        out.mod = StateOf(e.state);
        const bool down = event.type == ButtonPress;
        if (e.button == Button1)
            out.mod.L = down;
        if (e.button == Button3)
            out.mod.R = down;
        return true;
    }
    case MotionNotify: {
        const XMotionEvent& e = event.xmotion;
        if (out.inEntry)
            return false;
        out.kind = EditorWindowEvent::Kind::Motion;
        out.x = e.x;
        out.y = e.y;
        out.time = e.time;
        out.mod = StateOf(e.state);
        return true;
    }
    case LeaveNotify: {
        const XCrossingEvent& e = event.xcrossing;
        if (out.inEntry || e.mode != NotifyNormal || e.detail == NotifyInferior)
            return false;
        out.kind = EditorWindowEvent::Kind::Leave;
        out.x = e.x;
        out.y = e.y;
        out.mod = StateOf(e.state);
        return true;
    }
    case KeyPress: {
        XKeyEvent e = event.xkey;
        char text[sizeof out.text] = {};
        KeySym typed = NoSymbol;
        const int n = XLookupString(&e, text, sizeof text - 1, &typed, nullptr);
        text[n > 0 ? n : 0] = 0;
        out.kind = EditorWindowEvent::Kind::Key;
        out.x = e.x;
        out.y = e.y;
        out.time = e.time;
        out.mod = StateOf(e.state);
        out.editorKey = EditorKeyCode(XLookupKeysym(&e, 0));
        out.entryKey = EntryKeyOf(typed, text);
        std::memcpy(out.text, text, sizeof out.text);
        return true;
    }
    case FocusIn:
    case FocusOut:
        if (!RealFocusChange(event.xfocus))
            return false;
        out.kind = event.type == FocusIn ? EditorWindowEvent::Kind::FocusGained : EditorWindowEvent::Kind::FocusLost;
        return true;
    case Expose: {
        const XExposeEvent& e = event.xexpose;
        out.kind = EditorWindowEvent::Kind::Exposure;
        out.area = IBox{e.x, e.y, e.x + e.width, e.y + e.height};
        out.lastOfSeries = e.count == 0;
        return true;
    }
    case ConfigureNotify:
        // Only the size is of interest; the editor paints whatever the host makes of it.
        if (event.xconfigure.window != window)
            return false;
        shownWidth = event.xconfigure.width;
        shownHeight = event.xconfigure.height;
        return false;
    case DestroyNotify:
        if (event.xdestroywindow.window != window)
            return false;
        out.kind = EditorWindowEvent::Kind::Destroyed;
        window = 0;
        entry = 0;
        presenter.reset();
        return true;
    default: return false;
    }
}

void X11EditorWindow::Present(const PIX_IBitmap& buffer, const IBox& rect)
{
    if (!Usable() || !presenter)
        return;
    XErrorTrap trap(display);
    presenter->Present(buffer.GetBits(), buffer.GetRowSpan(), buffer.GetWidth(), buffer.GetHeight(), rect);
}

void X11EditorWindow::PaintBeyond(const PIX_IBitmap& buffer, const IBox& rect)
{
    const int bw = buffer.GetWidth();
    const int bh = buffer.GetHeight();
    const std::uint32_t* bits = buffer.GetBits();
    if (!Usable() || !bits || bw <= 0 || bh <= 0 || (shownWidth <= bw && shownHeight <= bh))
        return;
    const IBox area = rect.Intersect(IBox{0, 0, shownWidth, shownHeight});
    if (area.IsEmpty())
        return;
    const long span = buffer.GetRowSpan();
    const auto edge = [&](int x, int y) { return bits[std::min(y, bh - 1) * span + std::min(x, bw - 1)] & 0xFFFFFF; };
    XErrorTrap trap(display);
    // Runs of equal colour are filled at once: the right side row by row, the part below column
    // by column (the corner in the colour of the buffer's last pixel).
    const auto fillRuns = [&](int from, int to, bool rows, int start, int end) {
        int run = from;
        for (int i = from; i < to; ++i) {
            const std::uint32_t colour = rows ? edge(bw, i) : edge(i, bh);
            if (i + 1 < to && (rows ? edge(bw, i + 1) : edge(i + 1, bh)) == colour)
                continue;
            XSetForeground(display, gc, colour);
            if (rows)
                XFillRectangle(display, window, gc, start, run, static_cast<unsigned>(end - start),
                               static_cast<unsigned>(i + 1 - run));
            else
                XFillRectangle(display, window, gc, run, start, static_cast<unsigned>(i + 1 - run),
                               static_cast<unsigned>(end - start));
            run = i + 1;
        }
    };
    if (area.R > bw)
        fillRuns(area.T, area.B, true, std::max(area.L, bw), area.R);
    if (area.B > bh)
        fillRuns(area.L, std::min(area.R, bw), false, std::max(area.T, bh), area.B);
    XFlush(display);
}

bool X11EditorWindow::Map(bool shown)
{
    if (!Usable())
        return false;
    XErrorTrap trap(display);
    if (shown)
        XMapWindow(display, window);
    else
        XUnmapWindow(display, window);
    return !trap.SyncFailed();
}

void X11EditorWindow::TakeFocus(bool toEntry, unsigned long time)
{
    if (!Usable())
        return;
    const Window target = toEntry && entry ? entry : window;
    XErrorTrap trap(display);
    // Fails harmlessly (trapped) while the window is not yet viewable.
    XSetInputFocus(display, target, RevertToParent, time ? time : CurrentTime);
    XFlush(display);
}

bool X11EditorWindow::OpenEntry(const IBox& area)
{
    if (!Usable() || entry || area.W() <= 0 || area.H() <= 0)
        return false;
    XErrorTrap trap(display);
    XSetWindowAttributes attributes{};
    attributes.colormap = colormap;
    attributes.border_pixel = 0;
    attributes.background_pixmap = None;
    attributes.event_mask = kEntryEvents;
    entry = XCreateWindow(display, window, area.L, area.T, static_cast<unsigned>(area.W()),
                          static_cast<unsigned>(area.H()), 0, 24, InputOutput, static_cast<Visual*>(visual),
                          CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attributes);
    XMapRaised(display, entry);
    if (trap.SyncFailed()) {
        entry = 0;
        return false;
    }
    entryArea = area;
    return true;
}

void X11EditorWindow::PlaceEntry(const IBox& area)
{
    if (!Usable() || !entry || area.W() <= 0 || area.H() <= 0 || area == entryArea)
        return;
    XErrorTrap trap(display);
    XMoveResizeWindow(display, entry, area.L, area.T, static_cast<unsigned>(area.W()), static_cast<unsigned>(area.H()));
    XFlush(display);
    entryArea = area;
}

void X11EditorWindow::PresentEntry(const PIX_IBitmap& pixels)
{
    if (!Usable() || !entry)
        return;
    XErrorTrap trap(display);
    X11Presenter putter(display, entry, gc, static_cast<Visual*>(visual), pixels.GetWidth(), pixels.GetHeight());
    putter.Present(pixels.GetBits(), pixels.GetRowSpan(), pixels.GetWidth(), pixels.GetHeight(),
                   IBox{0, 0, pixels.GetWidth(), pixels.GetHeight()});
}

void X11EditorWindow::CloseEntry()
{
    if (!entry)
        return;
    if (Usable()) {
        XErrorTrap trap(display);
        XDestroyWindow(display, entry);
        XFlush(display);
    }
    entry = 0;
    entryArea = IBox{};
}

const char* X11EditorWindow::PresentMethod() const
{
    if (!presenter)
        return "none";
    return presenter->InUse() == X11Presenter::Method::SharedMemory ? "SharedMemory" : "PutImage";
}

bool X11EditorWindow::UseSharedMemory(bool shared)
{
    if (!Usable() || !presenter)
        return false;
    XErrorTrap trap(display);
    const auto wanted = shared ? X11Presenter::Method::SharedMemory : X11Presenter::Method::PutImage;
    return presenter->Use(wanted) == wanted;
}

void X11EditorWindow::Sync()
{
    if (!Usable())
        return;
    XErrorTrap trap(display);
    XSync(display, False);
}
