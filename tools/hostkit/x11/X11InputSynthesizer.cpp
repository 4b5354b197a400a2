#include "tools/hostkit/x11/X11InputSynthesizer.h"

#include "platform/linux/XErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

std::unique_ptr<X11InputSynthesizer> X11InputSynthesizer::Open()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display);
        return nullptr;
    }
    std::unique_ptr<X11InputSynthesizer> self(new X11InputSynthesizer());
    self->display = display;
    return self;
}

X11InputSynthesizer::~X11InputSynthesizer()
{
    if (display)
        XCloseDisplay(display);
}

void X11InputSynthesizer::MoveTo(unsigned long window, int x, int y)
{
    XErrorTrap trap(display);
    int rootX = x, rootY = y;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    XSync(display, False);
}

void X11InputSynthesizer::Press(int button)
{
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), True, CurrentTime);
    XSync(display, False);
}

void X11InputSynthesizer::Release(int button)
{
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), False, CurrentTime);
    XSync(display, False);
}

void X11InputSynthesizer::Click(int button)
{
    Press(button);
    Release(button);
}

void X11InputSynthesizer::HoldKey(unsigned long keysym, bool down)
{
    const KeyCode code = XKeysymToKeycode(display, keysym);
    if (code == 0)
        return;
    XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
    XSync(display, False);
}

void X11InputSynthesizer::Key(unsigned long keysym, bool shifted)
{
    if (shifted)
        HoldKey(XK_Shift_L, true);
    HoldKey(keysym, true);
    HoldKey(keysym, false);
    if (shifted)
        HoldKey(XK_Shift_L, false);
}

void X11InputSynthesizer::Sync() { XSync(display, False); }

void X11InputSynthesizer::KeyNamed(const char* name)
{
    const KeySym keysym = name ? XStringToKeysym(name) : NoSymbol;
    if (keysym != NoSymbol)
        Key(keysym);
}

void X11InputSynthesizer::Type(const char* text)
{
    // Printable ASCII characters are their own keysyms.
    for (const char* p = text; p && *p; ++p)
        Key(static_cast<unsigned char>(*p));
}
