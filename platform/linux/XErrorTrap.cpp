#include "platform/linux/XErrorTrap.h"

#include <X11/Xlib.h>

// Xlib has one error handler per process, so the traps form a chain per thread: the handler
// looks up the innermost trap of the failing display, else passes the error on.
struct XErrorTrapChain {
    static thread_local XErrorTrap* innermost;

    static int Handle(Display* display, XErrorEvent* event)
    {
        XErrorTrap* outermost = nullptr;
        for (XErrorTrap* trap = innermost; trap; trap = trap->outer) {
            if (trap->display == display) {
                ++trap->errors;
                return 0;
            }
            outermost = trap;
        }
        if (outermost && outermost->previous)
            return reinterpret_cast<XErrorHandler>(outermost->previous)(display, event);
        return 0;
    }
};

thread_local XErrorTrap* XErrorTrapChain::innermost = nullptr;

XErrorTrap::XErrorTrap(_XDisplay* d) : display(d), outer(XErrorTrapChain::innermost)
{
    previous = reinterpret_cast<void (*)()>(XSetErrorHandler(XErrorTrapChain::Handle));
    XErrorTrapChain::innermost = this;
}

XErrorTrap::~XErrorTrap()
{
    XErrorTrapChain::innermost = outer;
    XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous));
}

bool XErrorTrap::SyncFailed()
{
    XSync(display, False);
    return errors > 0;
}
